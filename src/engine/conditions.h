#pragma once
// The script's parameter change "p" and its branches "c", "i", "d".

namespace dalvo {

struct Game;

// Threshold tests; 1 after a jump, 2 otherwise.
int Cond_c(Game& game);
// Equality tests; 1 after a jump, 2 otherwise.
int Cond_i(Game& game);
// Tests on the half-day counter; 1 after a jump, 2 otherwise.
int Cond_d(Game& game);
// Adds the number to a parameter.
void Param_p(Game& game);

}  // namespace dalvo
