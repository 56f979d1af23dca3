#pragma once
// What the stage keeps between its routines: the layout values, the sprite and face
// tables, the effect code and the filters' pixel array.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace dalvo {

// Where a character's face lies inside its sprite picture, and the face's size.
struct FaceRect {
    std::int16_t x = 0, y = 0, w = 0, h = 0;
};

struct StageState {
    // Layout values of the game window.
    std::int16_t Msg1_left = 0;
    std::int16_t Stage_height = 0;
    std::int16_t Msg2_left = 0;
    std::int16_t Msg2_top = 0;

    // Sprite positions "L", "C", "R" and the slots. The fifth entries exist and stay 0.
    std::array<std::int16_t, 3> g_DollPosX{};
    std::array<std::int16_t, 5> g_DollX{};
    std::array<std::int16_t, 5> g_DollY{};
    std::array<std::int16_t, 5> g_DollW{};
    std::array<std::int16_t, 5> g_DollH{};
    std::array<std::int16_t, 4> Doll_shown{};  // -1 shown, 0 hidden
    std::string g_DollPosText;

    std::array<FaceRect, 4> g_FaceRect{};

    // The transition or filter code PlaceEffect reads; kept after the effect.
    std::string g_Effect;

    // The colour filters' pixel array, kept between steps so that it is not made anew.
    std::vector<std::uint32_t> Pixels;
    std::int32_t Pixel_count = 0;

    // The first frame picture ("wall.bmp", "waku.bmp") that did not decode at start-up.
    std::string frame_picture_error;
};

}  // namespace dalvo
