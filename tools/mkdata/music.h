#pragma once
// The bundled music: piece 1..9, as the names list "30.dat" numbers them.

#include "mkdata/smf.h"

namespace dalvo::mkdata {

inline constexpr int kMusicCount = 9;

Song compose_piece(int number);

}  // namespace dalvo::mkdata
