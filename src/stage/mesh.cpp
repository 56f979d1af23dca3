#include "stage/mesh.h"

#include <array>
#include <cstdint>

namespace dalvo {

namespace {

// One 8 x 8 tile per stage, one byte a row from the top, leftmost pixel in the high
// bit, 1 = white (the old pixel stays). Each stage lets in more of the new picture.
constexpr std::array<std::array<std::uint8_t, 8>, kMeshStages> kTiles{{
    {0x77, 0xFF, 0xDF, 0xFF, 0x77, 0xFF, 0xFD, 0xFF},
    {0x55, 0xFF, 0x5D, 0xFF, 0x55, 0xFF, 0xDD, 0xFF},
    {0x55, 0xBB, 0x55, 0xFF, 0x55, 0xFF, 0x55, 0xFF},
    {0x55, 0xAB, 0x55, 0xEE, 0x55, 0xBA, 0x55, 0xEE},
    {0x11, 0xAA, 0x44, 0xAA, 0x11, 0xAA, 0x54, 0xAA},
    {0x00, 0xAA, 0x04, 0xAA, 0x00, 0xAA, 0x44, 0xAA},
    {0x00, 0x22, 0x00, 0xAA, 0x00, 0x22, 0x00, 0xAA},
    {0x00, 0x02, 0x00, 0x88, 0x00, 0x20, 0x00, 0x88},
    {0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x88},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
}};

constexpr platform::Pixel kOn = 0x00FFFFFF;
constexpr platform::Pixel kOff = 0x00000000;

}  // namespace

void make_mesh1(platform::Surface& mesh) {
    mesh.resize(kMeshStages * kMeshCell, 2 * kMeshCell);
    for (int k = 0; k < kMeshStages; ++k) {
        for (int y = 0; y < kMeshCell; ++y) {
            platform::Pixel* old_mask = mesh.row(y) + k * kMeshCell;
            platform::Pixel* new_mask = mesh.row(y + kMeshCell) + k * kMeshCell;
            const std::uint8_t bits = kTiles[k][y % 8];
            for (int x = 0; x < kMeshCell; ++x) {
                const bool keep_old = (bits >> (7 - x % 8)) & 1;
                old_mask[x] = keep_old ? kOn : kOff;
                new_mask[x] = keep_old ? kOff : kOn;
            }
        }
    }
}

}  // namespace dalvo
