#pragma once
// Showing and taking down the level window; used by "g9" and by a continued game.

namespace dalvo {

struct Game;

// Disables the game window, shows the bars last shown for a second, then the current
// ones; `g_GraphHist` ends at twice the subject parameters, capped at 100.
void Level_load(Game& game);
// Takes the window down and enables the game window again.
void Level_unload(Game& game);

}  // namespace dalvo
