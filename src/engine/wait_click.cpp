// The click wait with its blinking mark, and the clicks and keys that end it.

#include "engine/game.h"
#include "engine/message.h"
#include "engine/message_internal.h"
#include "platform/pacing.h"

namespace dalvo {

namespace {

void advance(Game& game) {
    if (game.g.g_WaitClick != kFalse) game.g.g_WaitClick = kFalse;
}

bool advancing_key(int key) { return key == platform::key::Enter || key == platform::key::Space; }

}  // namespace

void Wait_click(Game& game) {
    EngineState& g = game.g;
    MainForm& ui = game.ui;
    platform::Host& host = game.p.host;
    g.g_WaitClick = kTrue;
    ui.Clicker->set_enabled(true, game.p.clock.ticks());
    ++game.msg.click_waits;
    ++game.msg.player_waits;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{game.msg.click_waits};
    Controls_wait_begins(game);
    platform::wait_until(host, [&] {
        Controls_wait_poll(game);
        return g.g_WaitClick == kFalse;
    }, 10);
    ui.Blinker->visible = false;
    ui.Blinker->refresh();
    ui.Clicker->set_enabled(false, game.p.clock.ticks());
}

void Stage_mouse_down(Game& game, const platform::MouseEvent& e) {
    // While the history is up the stage keeps the script where it is.
    if (e.button == platform::MouseButton::Left && game.w.LogView == kFalse) advance(game);
}

void Stage_key_down(Game& game, int key) {
    if (advancing_key(key) && game.w.LogView == kFalse) advance(game);
}

void TxtFrame1_mouse_down(Game& game, const platform::MouseEvent& e) {
    if (e.button == platform::MouseButton::Left) {
        advance(game);
    } else if (e.button == platform::MouseButton::Right) {
        History_open(game);
    }
}

const char* Message_waiting(const Game& game) {
    if (game.msg.choice_open) return "choice";
    // A load from the menu stops the mark's timer while it rebuilds the day; the
    // player is not asked for anything until the mark blinks again.
    const bool mark_running = game.ui.Clicker == nullptr || game.ui.Clicker->enabled();
    if (game.msg.click_waits > 0 && game.g.g_WaitClick != kFalse && mark_running) return "click";
    return nullptr;
}

}  // namespace dalvo
