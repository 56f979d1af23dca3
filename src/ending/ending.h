#pragma once
// The ending as the engine calls it.

namespace dalvo {

struct Game;

// Script "e": the ending chosen by `g_hap` and the staff roll. Returns when it is over;
// the caller then unloads the game window.
void Ending_run(Game& game);

}  // namespace dalvo
