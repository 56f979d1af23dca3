#pragma once
// What the ending keeps between its routines: the staff table, the tiles' start
// positions, the gradient picture of `Texture(2)` and the tiles' random source.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/surface.h"

namespace dalvo {

// Uniform numbers in [0, 1) from a 32-bit linear congruential generator. It always
// starts from the same seed, so every run of the program draws the same sequence
// and the staff cards assemble the same way every time.
class StaffRandom {
public:
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        // The top 24 bits: the low bits of this generator repeat quickly.
        return static_cast<double>(state_ >> 8) / 16777216.0;
    }

private:
    std::uint32_t state_ = 0;
};

struct EndingState {
    // Card n's title is entry n, its second line entry n + 11; entry 0 is the credit line.
    std::array<std::string, 22> StaffText{};

    // Start positions of the tiles, indexed (i, j) for i = 0 ... TileCols - 1 and
    // j = 0 ... TileRows - 1, stored row by row of i.
    std::vector<std::int16_t> TileX;
    std::vector<std::int16_t> TileY;
    int TileCols = 0;
    int TileRows = 0;
    std::int16_t& tile_x(int i, int j) { return TileX[static_cast<std::size_t>(j) * TileCols + i]; }
    std::int16_t& tile_y(int i, int j) { return TileY[static_cast<std::size_t>(j) * TileCols + i]; }

    // The picture of `Texture(2)`: clearing that surface shows the gradient again.
    platform::Surface TexturePicture;

    StaffRandom Rnd;
};

}  // namespace dalvo
