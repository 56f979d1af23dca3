// The controls and settings dialog, loaded afresh at each opening from the settings
// in force.

#include "dialogs/controls_window.h"

#include <iostream>
#include <iterator>

#include "engine/game.h"
#include "platform/os/player_folder.h"

namespace dalvo {

namespace {

using platform::Control;
using platform::ControlKind;

constexpr const char* kControlLines[] = {
    "Ctrl を押す間 / Tab：既読をスキップ",
    "ホイール, PageUp / PageDown：履歴",
    "↑ ↓, 1〜3, Enter：選択肢",
    "H, 中ボタン：ウィンドウを隠す　F10, Alt：メニュー",
    "A：オート　F12：スクリーンショット",
    "F11, Alt+Enter：全画面　F1：この画面",
    "パッド：A 進む　B 履歴　X 隠す　Start メニュー",
    "　　　　Y オート　RB 押す間スキップ",
};

// Auto mode's three speeds: a message's base time and its time a character.
struct AutoSpeed {
    std::uint32_t base_ms, char_ms;
};
constexpr AutoSpeed kSpeeds[] = {{1500, 90}, {1000, 60}, {500, 30}};

template <class Parent>
Control& add_control(Parent& parent, const char* name, ControlKind kind, const char* caption, int left, int top,
                     int width, int height) {
    Control& c = parent.add(name, kind);
    c.caption = caption;
    c.move(left, top, width, height);
    return c;
}

void unload(Game& game) {
    if (!game.dialogs.controls) return;
    game.dialogs.controls.reset();
    game.ui.form.enabled = true;
}

void ok_click(Game& game) {
    ControlsWindow& d = *game.dialogs.controls;
    PlayerSettings s = game.controls.settings;
    s.skip_all_text = d.Check1->value != 0;
    s.menu_skip_read_only = d.Check2->value != 0;
    s.start_fullscreen = d.Check3->value != 0;
    s.smooth_scaling = d.Check4->value != 0;
    const Control* speeds[] = {d.Option1, d.Option2, d.Option3};
    for (std::size_t i = 0; i < std::size(speeds); ++i) {
        if (speeds[i]->value != 0) {
            s.auto_base_ms = kSpeeds[i].base_ms;
            s.auto_char_ms = kSpeeds[i].char_ms;
        }
    }
    game.controls.settings = s;
    game.p.host.backend().set_smooth_scaling(s.smooth_scaling);
    std::string error;
    if (!save_settings(platform::player_settings_file(), s, error)) {
        game.p.host.message_box("設定を保存できません.\n" + error, platform::MsgButtons::Ok);
    }
    unload(game);
}

void key_down(Game& game, int key) {
    if (key == platform::key::Escape) unload(game);
    else if (key == platform::key::Enter) game.p.host.post(platform::PressControl{"Controls_Window", "Command1"});
}

}  // namespace

ControlsWindow::ControlsWindow(platform::Host& host) : host_(host) {
    Frame1 = &add_control(form, "Frame1", ControlKind::Frame, "操作", 8, 8, 328, 160);
    int top = 18;
    int n = 1;
    for (const char* line : kControlLines) {
        add_control(*Frame1, ("Label" + std::to_string(n++)).c_str(), ControlKind::Label, line, 12, top, 308, 16);
        top += 17;
    }
    Check1 = &add_control(form, "Check1", ControlKind::CheckBox, "未読もスキップ", 16, 176, 150, 17);
    Check2 = &add_control(form, "Check2", ControlKind::CheckBox, "メニューのスキップも既読のみ", 16, 196, 240, 17);
    Check3 = &add_control(form, "Check3", ControlKind::CheckBox, "全画面で起動", 16, 216, 150, 17);
    Check4 = &add_control(form, "Check4", ControlKind::CheckBox, "なめらかに拡大", 176, 216, 150, 17);
    Frame2 = &add_control(form, "Frame2", ControlKind::Frame, "オートの速さ", 8, 240, 328, 44);
    Option1 = &add_control(*Frame2, "Option1", ControlKind::OptionButton, "ゆっくり", 16, 18, 90, 17);
    Option2 = &add_control(*Frame2, "Option2", ControlKind::OptionButton, "ふつう", 120, 18, 90, 17);
    Option3 = &add_control(*Frame2, "Option3", ControlKind::OptionButton, "はやい", 224, 18, 90, 17);
    Command2 = &add_control(form, "Command2", ControlKind::Button, "Cancel", 16, 300, 57, 25);
    Command1 = &add_control(form, "Command1", ControlKind::Button, "OK", 271, 300, 57, 25);
    int tab = 0;
    for (Control* c : {Check1, Check2, Check3, Check4, Option1, Option2, Option3, Command1, Command2}) c->tab_index = tab++;
}

ControlsWindow::~ControlsWindow() {
    if (host_.is_shown(form)) host_.hide_form(form);
}

void Controls_window_open(Game& game) {
    auto& slot = game.dialogs.controls;
    if (slot) return;
    slot = std::make_unique<ControlsWindow>(game.p.host);
    ControlsWindow& d = *slot;
    const PlayerSettings& s = game.controls.settings;
    d.Check1->value = s.skip_all_text ? 1 : 0;
    d.Check2->value = s.menu_skip_read_only ? 1 : 0;
    d.Check3->value = s.start_fullscreen ? 1 : 0;
    d.Check4->value = s.smooth_scaling ? 1 : 0;
    Control* speeds[] = {d.Option1, d.Option2, d.Option3};
    for (std::size_t i = 0; i < std::size(speeds); ++i) {
        if (s.auto_base_ms == kSpeeds[i].base_ms && s.auto_char_ms == kSpeeds[i].char_ms) speeds[i]->value = 1;
    }
    d.Command1->on_click = [&game] { ok_click(game); };
    d.Command2->on_click = [&game] { unload(game); };
    d.form.on_close_request = [&game] { unload(game); };
    d.form.on_key_down = [&game](int key) { key_down(game, key); };
    game.ui.form.enabled = false;
    game.p.host.center_form(d.form);
    game.p.host.show_form(d.form);
    d.form.topmost = true;
}

bool Controls_window_is_open(const Game& game) { return game.dialogs.controls != nullptr; }

}  // namespace dalvo
