#pragma once
// The built-in dissolve pattern `Mesh1`: ten 32 x 32 stages side by side, the mask
// of the old picture above and its exact complement, the mask of the new one, below.

#include "platform/gfx/surface.h"

namespace dalvo {

inline constexpr int kMeshStages = 10;
inline constexpr int kMeshCell = 32;

// Fills `mesh` (resized to 320 x 64) with the pattern in pure white and pure black.
void make_mesh1(platform::Surface& mesh);

}  // namespace dalvo
