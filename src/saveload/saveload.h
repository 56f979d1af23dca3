#pragma once
// The slot dialog as the game window and the title call it.

namespace dalvo {

struct Game;

// Loads the slot dialog `File_Window` for `g_FileMode` (1 save, 2 load), returns when the
// player has closed it, and unloads it. On return `g_FileMode` is 0, or 3 after a load
// (the caller then runs `Continue_game`).
void File_Window_open(Game& game);

// For the automation: "dialog" while the slot dialog waits for a button, "none" while
// one of its buttons is at work, nullptr when the dialog is not loaded.
const char* File_Window_waiting(const Game& game);

}  // namespace dalvo
