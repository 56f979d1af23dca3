#pragma once
// Sound as the rest of the game calls it.

namespace dalvo {

struct Game;

// Window load: creates the music-loop timer `BGMLoop` and leaves it stopped.
void Sound_init(Game& game);
// Window unload, steps 1 and 2: master level back and mixer closed, music stopped and closed.
void Sound_unload(Game& game);

void BGM_stop(Game& game);
// Plays sound effect n (0..2) to its end.
void SE_play(Game& game, int n);
// The script's sound command "a"; returns a continuation code.
int Cmd_a(Game& game);

}  // namespace dalvo
