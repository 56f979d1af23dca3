#pragma once
// The script interpreter: one record after another from `g_ScriptPos`.

namespace dalvo {

struct Game;

// Continuation codes of a record's work.
inline constexpr int kShowAndNext = 0;  // show the message, then the next record
inline constexpr int kRunAtPos = 1;     // run the record at `g_ScriptPos` now
inline constexpr int kNext = 2;         // the next record

// Returns when the position reaches the last record, which is never run.
void Run_script(Game& game);
// The day and jump commands "g0", "g1", "g9".
int Cmd_g(Game& game);

}  // namespace dalvo
