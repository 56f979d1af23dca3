#pragma once
// The stage's keys of the state dump.

#include "platform/codec/json.h"

namespace dalvo {

struct Game;

// Writes `g_Effect`, `g_DollX` (5), `g_DollY` (5) and `Doll_shown` (4) into an open object.
void dump_stage(const Game& game, platform::JsonWriter& out);

}  // namespace dalvo
