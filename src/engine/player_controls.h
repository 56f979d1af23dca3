#pragma once
// The player's controls beside the game's own clicks and keys: skipping while Ctrl is
// held (or after Tab), auto mode, the wheel over the history, the keys over a choice,
// hiding the message window, the screenshot key. They set the flags the game's own
// handlers set, and while the player does not use them nothing about the game changes.

#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/player_settings.h"
#include "engine/read_text.h"
#include "platform/ui/form.h"
#include "platform/ui/input_event.h"

namespace dalvo {

struct Game;

struct ControlsState {
    PlayerSettings settings;
    ReadText read;
    bool used = false;        // any control was used: from then on the dump shows them
    bool skip_held = false;   // Ctrl or the pad's right shoulder is down
    bool skip_on = false;     // Tab turned skipping on
    bool skipping_now = false;  // the message being drawn goes by without a wait
    bool shown_unread = false;  // the message waited on was new to the player
    bool auto_on = false;
    std::uint32_t auto_due = 0;  // when auto mode ends the click wait
    bool hidden = false;      // the message window is hidden
    int highlight = -1;       // the option the keys highlight
    std::uint64_t highlight_of = 0;  // the wait (MessageState::player_waits) it belongs to
    platform::Control* auto_mark = nullptr;
    std::filesystem::path folder;  // the player's own folder, found at the first need
};

// Puts the controls between the player's input and the game's handlers.
void Controls_connect(Game& game);

// A message is shown at the current record: marks it read and tells whether it goes
// by without a wait (skipping by the controls, or the menu's skip over read text).
bool Controls_message_shown(Game& game);
// A click wait begins (auto mode's countdown) and is polled (auto mode's advance).
void Controls_wait_begins(Game& game);
void Controls_wait_poll(Game& game);
// A pick ends skipping by Tab, as it ends the menu's skip.
void Controls_choice_made(Game& game);
// The read text goes to the player's folder (the window unloads).
void Controls_save(Game& game);

}  // namespace dalvo
