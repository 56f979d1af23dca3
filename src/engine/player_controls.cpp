// The player's controls: what each does where it lands, and what it leaves alone.

#include "engine/player_controls.h"

#include <iostream>
#include <type_traits>
#include <variant>

#include "dialogs/controls_window.h"
#include "engine/game.h"
#include "engine/message.h"
#include "engine/message_internal.h"
#include "platform/codec/text_codec.h"
#include "platform/gfx/picture.h"
#include "platform/os/pictures_folder.h"
#include "platform/os/player_folder.h"
#include "platform/ui/player_control.h"

namespace dalvo {

namespace {

using platform::PlayerControl;

constexpr int kMaxOptions = 3;

const std::string& form_of(const platform::InputEvent& e) {
    return std::visit([](const auto& v) -> const std::string& { return v.form; }, e);
}

// Input that ends a hidden window's hiding: a press of anything, not a move or a release.
bool is_press(const platform::InputEvent& e) {
    if (const auto* pad = std::get_if<platform::PadPress>(&e)) return pad->down;
    return std::holds_alternative<platform::MouseDown>(e) || std::holds_alternative<platform::KeyDown>(e) ||
           std::holds_alternative<platform::Wheel>(e) || std::holds_alternative<platform::ControlInput>(e) ||
           std::holds_alternative<platform::MenuCommand>(e);
}

const std::filesystem::path& player_folder(Game& game) {
    auto& c = game.controls;
    if (c.folder.empty()) c.folder = platform::player_data_dir(game.g_DataPath);
    return c.folder;
}

// The story runs (not the title, not the name entry), and no text box has the keys.
bool in_story(Game& game) {
    const platform::Control* focus = game.ui.form.focus();
    const bool typing = focus && focus->kind == platform::ControlKind::TextBox && focus->usable();
    return !game.ui.Title->visible && !typing;
}

bool click_waiting(const Game& game) {
    const char* waiting = Message_waiting(game);
    return waiting != nullptr && std::string_view(waiting) == "click" && game.w.LogView == kFalse;
}

void advance(Game& game) { game.g.g_WaitClick = kFalse; }

std::uint32_t auto_delay(const Game& game) {
    const auto& s = game.controls.settings;
    return s.auto_base_ms + s.auto_char_ms * static_cast<std::uint32_t>(platform::char_count(game.g.g_Text));
}

void set_hidden(Game& game, bool hidden) {
    game.controls.hidden = hidden;
    platform::Control& frame = *game.ui.TxtFrame1[0];
    frame.visible = !hidden;
    frame.refresh();
}

int options_shown(const Game& game) {
    int n = 0;
    while (n < kMaxOptions && game.ui.SelBox[n]->visible) ++n;
    return n;
}

// The keys move the highlight over the options as the mouse does.
bool choose(Game& game, PlayerControl control) {
    auto& c = game.controls;
    if (!game.msg.choice_open || game.w.SelArmed == kFalse) return false;
    const int n = options_shown(game);
    if (n == 0) return false;
    if (c.highlight_of != game.msg.player_waits) c.highlight = -1;
    c.highlight_of = game.msg.player_waits;
    int k = c.highlight;
    switch (control) {
        case PlayerControl::ChoicePrev: k = k <= 0 ? n - 1 : k - 1; break;
        case PlayerControl::ChoiceNext: k = k < 0 || k >= n - 1 ? 0 : k + 1; break;
        case PlayerControl::Choice1: k = 0; break;
        case PlayerControl::Choice2: k = 1; break;
        default: k = 2; break;
    }
    if (k >= n) return true;
    c.highlight = k;
    SelTxt_mouse_move(game, k);
    return true;
}

bool pick(Game& game) {
    auto& c = game.controls;
    if (!game.msg.choice_open || game.w.SelArmed == kFalse || c.highlight_of != game.msg.player_waits ||
        c.highlight < 0)
        return false;
    SelTxt_mouse_down(game, c.highlight, platform::MouseEvent{});
    return true;
}

void screenshot(Game& game) {
    std::string error;
    const platform::Surface* screen = game.p.host.screen(game.ui.form);
    const std::filesystem::path file = platform::new_screenshot_file(error);
    if (screen == nullptr || file.empty() || !platform::save_png(*screen, file, error)) {
        std::cerr << "screenshot: " << (error.empty() ? "nothing shown yet" : error) << std::endl;
    }
}

bool on_control(Game& game, const platform::InputEvent& e, PlayerControl control) {
    auto& c = game.controls;
    MainForm& ui = game.ui;
    const bool story = in_story(game);
    switch (control) {
        case PlayerControl::SkipHold:
            if (!story) return false;
            c.skip_held = true;
            return true;
        case PlayerControl::SkipRelease:
            if (!c.skip_held) return false;
            c.skip_held = false;
            return true;
        case PlayerControl::SkipToggle:
            if (!story) return false;
            c.skip_on = !c.skip_on;
            return true;
        case PlayerControl::Back:
            if (!story || game.w.LogView != kFalse || !ui.TxtFrame1[0]->visible || !Message_waiting(game)) return false;
            History_open(game);
            return true;
        case PlayerControl::Forward:
            if (!story) return false;
            if (game.w.LogView != kFalse) History_close(game);
            else if (click_waiting(game)) advance(game);
            else return false;
            return true;
        case PlayerControl::History:
            return on_control(game, e, game.w.LogView != kFalse ? PlayerControl::Forward : PlayerControl::Back);
        case PlayerControl::ChoicePrev:
        case PlayerControl::ChoiceNext:
        case PlayerControl::Choice1:
        case PlayerControl::Choice2:
        case PlayerControl::Choice3:
            return choose(game, control);
        case PlayerControl::Advance:
            if (pick(game)) return true;
            // Enter goes on to the game's own handlers, which take it as a click.
            if (std::holds_alternative<platform::KeyDown>(e) || !story) return false;
            if (click_waiting(game)) advance(game);
            return true;
        case PlayerControl::HideWindow:
            if (!story || game.w.LogView != kFalse || !ui.TxtFrame1[0]->visible || !Message_waiting(game)) return false;
            set_hidden(game, true);
            return true;
        case PlayerControl::AutoToggle:
            if (!story) return false;
            c.auto_on = !c.auto_on;
            c.auto_mark->visible = c.auto_on;
            c.auto_mark->refresh();
            if (c.auto_on) c.auto_due = game.p.clock.ticks() + auto_delay(game);
            return true;
        case PlayerControl::Screenshot:
            screenshot(game);
            return true;
        case PlayerControl::Fullscreen:
            game.p.host.backend().toggle_fullscreen();
            return true;
        case PlayerControl::Help:
            Controls_window_open(game);
            return true;
    }
    return false;
}

bool filter(Game& game, const platform::InputEvent& e) {
    auto& c = game.controls;
    const bool main = form_of(e) == game.ui.form.name && game.ui.form.enabled;
    if (!main) {
        // A key released over a dialog still ends the hold that began over the game.
        const auto control = platform::player_control(e);
        if (control == PlayerControl::SkipRelease) c.skip_held = false;
        return false;
    }
    if (c.hidden && is_press(e)) {
        set_hidden(game, false);
        return true;
    }
    const auto control = platform::player_control(e);
    if (!control) return false;
    const bool taken = on_control(game, e, *control);
    if (taken) c.used = true;
    return taken;
}

void dump_controls(const Game& game, platform::JsonWriter& out) {
    const auto& c = game.controls;
    // Only once the player used one: a game played without them dumps as it always did.
    if (!c.used) return;
    out.key("controls").begin_object();
    out.field("skip_held", c.skip_held).field("skip_on", c.skip_on).field("auto", c.auto_on);
    out.field("hidden", c.hidden).field("highlight", static_cast<std::int64_t>(c.highlight));
    out.end_object();
}

}  // namespace

void Controls_connect(Game& game) {
    auto& c = game.controls;
    std::string problems;
    load_settings(platform::player_settings_file(), c.settings, problems);
    // A broken line costs only its own setting; the player hears which and why.
    if (!problems.empty()) std::cerr << problems << std::flush;
    platform::Control& mark = game.ui.TxtFrame1[0]->add("AutoMark", platform::ControlKind::Shape);
    mark.move(584, 95, 10, 5);
    mark.filled = true;
    mark.fill_color = platform::Color{0x40C0FF};
    mark.visible = false;
    // A click on the mark is a click on the message window.
    mark.on_mouse_down = [&game](const platform::MouseEvent& e) { TxtFrame1_mouse_down(game, e); };
    c.auto_mark = &mark;
    game.p.host.set_input_filter([&game](const platform::InputEvent& e) { return filter(game, e); });
    // The game window is up by now; a backend without a window has no fullscreen.
    if (c.settings.start_fullscreen) game.p.host.backend().toggle_fullscreen();
    if (c.settings.smooth_scaling) game.p.host.backend().set_smooth_scaling(true);
    game.dump_parts.push_back([&game](platform::JsonWriter& out) { dump_controls(game, out); });
}

bool Controls_message_shown(Game& game) {
    auto& c = game.controls;
    const std::filesystem::path& folder = player_folder(game);
    const std::int32_t record = game.g.g_ScriptPos;
    const bool was_read = c.read.is_read(folder, record);
    c.read.mark(folder, record);
    c.shown_unread = !was_read;
    const bool may_skip = was_read || c.settings.skip_all_text;
    if (game.g.g_MsgSpeed == 0 && !may_skip && c.settings.menu_skip_read_only) Skip_end(game);
    // Skipping by Tab ends at the first unread text; a held Ctrl only waits there.
    if (c.skip_on && !may_skip) c.skip_on = false;
    c.skipping_now = (c.skip_held || c.skip_on) && may_skip && game.g.g_MsgSpeed != 0;
    return c.skipping_now;
}

void Controls_wait_begins(Game& game) {
    auto& c = game.controls;
    c.skipping_now = false;
    if (c.auto_on) c.auto_due = game.p.clock.ticks() + auto_delay(game);
}

void Controls_wait_poll(Game& game) {
    const auto& c = game.controls;
    if (c.hidden || game.w.LogView != kFalse) return;
    // A skip that begins during the wait (or while the text was typed) ends it when the
    // text waited on was read.
    if ((c.skip_held || c.skip_on) && (!c.shown_unread || c.settings.skip_all_text)) return advance(game);
    if (!c.auto_on) return;
    // Auto mode stops at dialogs: the game window is the only form up.
    if (game.p.host.forms().size() != 1 || !game.ui.form.enabled) return;
    if (static_cast<std::int32_t>(game.p.clock.ticks() - c.auto_due) >= 0) advance(game);
}

void Controls_choice_made(Game& game) { game.controls.skip_on = false; }

void Controls_save(Game& game) {
    if (game.g_DataPath.empty()) return;
    std::string error;
    if (!game.controls.read.save(player_folder(game), error)) std::cerr << "read text: " << error << std::endl;
}

}  // namespace dalvo
