#pragma once
// Dialogs as the engine calls them.

namespace dalvo {

struct Game;

// Loads the options dialog, which shows itself, not modally, over the disabled game
// window. Its unload (OK, Cancel or the close box) enables the window again and sets
// `g_OptOpen` to 0; the script's "o" waits for that.
void Option_open(Game& game);
bool Option_is_open(const Game& game);
// For the automation: "dialog" while the options dialog waits for a button, "none"
// while its OK applies the choices (the game is busy then), nullptr when it is closed.
const char* Option_waiting(const Game& game);

// Menu "バージョン": opens the about box, not modally; the game goes on behind it.
// It closes by its OK button or as soon as another window takes the focus.
void About_open(Game& game);
bool About_is_open(const Game& game);

}  // namespace dalvo
