// The options dialog: loaded afresh at each opening, so that every control starts
// from the engine's state; OK applies the choices at once and stores the ones that
// travel in save files; Cancel drops them.

#include "dialogs/option_window.h"

#include <string>

#include "dialogs/dialogs.h"
#include "engine/game.h"
#include "engine/message_internal.h"
#include "platform/ui/input_event.h"
#include "sound/sound.h"

namespace dalvo {

namespace {

using platform::Control;
using platform::ControlKind;

// The scale's end labels are a size smaller than the dialog's font.
constexpr double kSmallPoints = 8.25;

// `parent` is the form or a frame.
template <class Parent>
Control& add_control(Parent& parent, const char* name, ControlKind kind, const char* caption, int left,
                     int top, int width, int height) {
    Control& c = parent.add(name, kind);
    c.caption = caption;
    c.move(left, top, width, height);
    return c;
}

const char* bool_text(std::int16_t value) { return value != 0 ? "True" : "False"; }

void unload(Game& game) {
    if (!game.dialogs.option) return;
    // Safe inside the dialog's own handlers: the host runs copies of them.
    game.dialogs.option.reset();
    game.ui.form.enabled = true;
    game.g.g_OptOpen = 0;
}

// Music and effects are switched on first, so that both flags end as the boxes show
// even when a mixer failure switched them off while the dialog was open.
void command1_click(Game& game) {
    // The boxes are read before anything yields: a nested close must not pull the
    // window from under this handler.
    OptionWindow& d = *game.dialogs.option;
    d.applying = true;
    const bool skip = d.Option1->value != 0;
    const std::int16_t mode = d.Option2->value != 0   ? 1
                              : d.Option3->value != 0 ? 2
                              : d.Option4->value != 0 ? 3
                                                      : -1;
    const bool music = d.Check1->value != 0;
    const bool effects = d.Check2->value != 0;
    const bool fades = d.Check3->value != 0;

    EngineState& g = game.g;
    g.g_BgmOn = kTrue;
    g.g_SeOn = kTrue;

    if (skip) {
        g.g_MsgSpeed = 0;
        g.g_WaitClick = kFalse;  // a pending click wait ends at once
        game.ui.form.set_menu_caption("speedup", kCaptionStop);
    } else {
        game.ui.form.set_menu_caption("speedup", kCaptionSkip);
        g.g_MsgSpeed = 1;
        g.g_WaitClick = kTrue;
    }
    if (mode >= 0) g.g_MsgSpeed = mode;

    if (!music) {
        g.g_BgmOn = kFalse;
        BGM_stop(game);
    }
    if (!effects) g.g_SeOn = kFalse;

    if (!fades) {
        // The level is left where it is: only the exit puts it back.
        if (g.g_MixerOk != 0) Mixer_close(game);
        g.g_MixerOk = kFalse;
    } else if (g.g_MixerOk == 0) {
        SoundState& s = game.sound;
        Mixer_open(game);
        Vol_getctrl(game);
        Vol_get(game, s.g_VolFirst);
        s.g_VolSaved = s.g_VolFirst;
        if (s.g_hMixer == 0) {
            g.g_MixerOk = kFalse;
            game.p.host.message_box("mixer open error.", platform::MsgButtons::Ok);
        } else {
            g.g_MixerOk = kTrue;
        }
    }

    // What a save file keeps of the options.
    g.g_Flags[3] = bool_text(g.g_BgmOn);
    g.g_Flags[4] = bool_text(g.g_SeOn);
    std::string speed(1, ' ');
    speed += std::to_string(g.g_MsgSpeed);
    g.g_Flags[5] = std::move(speed);

    unload(game);
}

// Enter presses the focused button, else the default one; Esc the cancel button;
// Space operates the focused control, as a click on it would.
void key_down(Game& game, int key) {
    OptionWindow& d = *game.dialogs.option;
    Control* focus = d.form.focus();
    const char* target = nullptr;
    if (key == platform::key::Enter) {
        target = focus != nullptr && focus->kind == ControlKind::Button ? focus->name.c_str() : "Command1";
    } else if (key == platform::key::Escape) {
        target = "Command2";
    } else if (key == platform::key::Space && focus != nullptr) {
        target = focus->name.c_str();
    }
    if (target != nullptr) game.p.host.post(platform::PressControl{d.form.name, target});
}

// Load handler: the controls from the engine's state, then a topmost window over the
// disabled game window.
void load(Game& game) {
    auto& slot = game.dialogs.option;
    slot = std::make_unique<OptionWindow>(game.p.host);
    OptionWindow& d = *slot;
    const EngineState& g = game.g;

    game.ui.form.enabled = false;
    d.Check1->value = 0;
    d.Check2->value = 0;
    Control* const modes[] = {d.Option1, d.Option2, d.Option3, d.Option4};
    if (g.g_MsgSpeed >= 0 && g.g_MsgSpeed <= 3) modes[g.g_MsgSpeed]->value = 1;
    if (g.g_BgmOn != 0) d.Check1->value = 1;
    if (g.g_SeOn != 0) d.Check2->value = 1;
    if (g.g_MixerOk != 0) d.Check3->value = 1;

    d.Command1->on_click = [&game] { command1_click(game); };
    d.Command2->on_click = [&game] { unload(game); };
    d.form.on_close_request = [&game] { unload(game); };
    d.form.on_key_down = [&game](int key) { key_down(game, key); };

    game.p.host.center_form(d.form);
    game.p.host.show_form(d.form);
    d.form.topmost = true;
}

}  // namespace

OptionWindow::OptionWindow(platform::Host& host) : host_(host) {
    Frame1 = &add_control(form, "Frame1", ControlKind::Frame, "メッセージ表示", 16, 8, 177, 89);
    Option1 = &add_control(*Frame1, "Option1", ControlKind::OptionButton, "選択までｽｷｯﾌﾟ", 48, 16, 105, 17);
    Option2 = &add_control(*Frame1, "Option2", ControlKind::OptionButton, "ｽｸﾛｰﾙなし", 48, 32, 81, 17);
    Option3 = &add_control(*Frame1, "Option3", ControlKind::OptionButton, "1行ずつ表示", 48, 48, 97, 17);
    Option4 = &add_control(*Frame1, "Option4", ControlKind::OptionButton, "1文字ずつ表示", 48, 64, 105, 17);
    Label2 = &add_control(*Frame1, "Label2", ControlKind::Label, "High", 8, 16, 25, 17);
    Label1 = &add_control(*Frame1, "Label1", ControlKind::Label, "Low", 8, 64, 25, 17);
    for (Control* label : {Label1, Label2}) {
        platform::FontSpec small = label->font;
        small.size = kSmallPoints;
        label->font = small;
    }
    Line1 = &Frame1->add("Line1", ControlKind::Line);
    Line1->x1 = Line1->x2 = 16;
    Line1->y1 = 32;
    Line1->y2 = 64;

    Check1 = &add_control(form, "Check1", ControlKind::CheckBox, "ＢＧＭ", 32, 104, 65, 17);
    Check2 = &add_control(form, "Check2", ControlKind::CheckBox, "効果音", 120, 104, 65, 17);
    Check3 = &add_control(form, "Check3", ControlKind::CheckBox, "Fadeout Volume", 32, 128, 113, 17);
    Command2 = &add_control(form, "Command2", ControlKind::Button, "Cancel", 16, 152, 57, 25);
    Command1 = &add_control(form, "Command1", ControlKind::Button, "OK", 144, 152, 57, 25);

    int tab = 0;
    for (Control* c : {Option1, Option2, Option3, Option4, Check1, Check2, Check3, Command1, Command2}) {
        c->tab_index = tab++;
    }
}

OptionWindow::~OptionWindow() {
    if (host_.is_shown(form)) host_.hide_form(form);
}

void Option_open(Game& game) {
    // Only one at a time: the disabled game window cannot ask twice.
    if (game.dialogs.option) return;
    load(game);
}

bool Option_is_open(const Game& game) { return game.dialogs.option != nullptr; }

const char* Option_waiting(const Game& game) {
    if (!game.dialogs.option) return nullptr;
    return game.dialogs.option->applying ? "none" : "dialog";
}

}  // namespace dalvo
