#pragma once
// The message window and the waits for the player.

#include <cstdint>
#include <string>

#include "platform/gfx/color.h"

namespace dalvo {

struct Game;

// What the message window and the waits keep beside the window's own variables.
struct MessageState {
    int click_waits = 0;       // nested Wait_click loops running
    bool choice_open = false;  // a choice waits for its pick
    // Waits for the player so far (a click, a choice, the options dialog of the script):
    // the interpreter tells a script that never waits by it.
    std::uint64_t player_waits = 0;
};

// Window load: attaches the handlers of the stage, the message windows, the
// choice labels and the menu bar.
void Message_connect(Game& game);

// Shows the current record's message (`g_Speaker`, `g_Text`); nothing for an empty text.
void Msg_speaker(Game& game);
// Draws `text` prefixed for the speaker `name` in `color`, keeps it in the history and,
// unless skipping, waits for the player.
void Msg_disp(Game& game, const std::string& name, const std::string& text, platform::Color color);
// Makes room for a new line when the window is full.
void Msg_scroll(Game& game);
// Empties the text area; the next message starts on the top line with its name.
void Msg_clear(Game& game);

// The history window over the message window.
void History_open(Game& game);
void History_close(Game& game);

// Returns when the player advances.
void Wait_click(Game& game);
// Opens the choice of the current record, waits for a pick, sets `g_ScriptPos`;
// returns continuation code 1.
int Select_disp(Game& game);

// The menu command `speedup`: skip mode on or off.
void Speedup(Game& game);

// For the automation: "click" while a click is awaited, "choice" while a choice
// waits for its pick, else nullptr.
const char* Message_waiting(const Game& game);

}  // namespace dalvo
