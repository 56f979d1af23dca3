#pragma once
// A game with its stage built on a data folder of known pictures, headless.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/game_rig.h"

namespace dalvo::test {

// The pictures of the rig's folder, as functions of the pixel position.
platform::Color wall_pixel(int x, int y);
platform::Color waku_pixel(int x, int y);
platform::Color background_pixel(int n, int x, int y);
// Sprites are transparent (black) in their top-right quarter; slots 0-2 are 200 x 200,
// slot 3 is 300 x 100.
platform::Color sprite_pixel(int slot, int w, int h, int x, int y);
// Face f of a strip: f 0 opaque on the left half, 1 on the top half, 2 on the right half.
// The strips of slots 0-2 are 95 wide and 249, 151 and 75 high.
platform::Color face_pixel(int f, int w, int h, int x, int y);

std::vector<std::uint8_t> encode_bmp(int w, int h, const std::function<platform::Color(int, int)>& pixel);

class StageRig : public GameRig {
public:
    explicit StageRig(bool window = false);

    StageState& st() { return game().stage; }

    // The clock (trace "t") of each present of the game window during the last run of
    // the effect `code`, between its start and end events.
    std::vector<std::uint32_t> presents_during(const std::string& code) const;

    // Shows (digit != 0) or hides slot number `slot` (1-based) with `text`.
    void doll(int slot, int digit, const std::string& text);
};

}  // namespace dalvo::test
