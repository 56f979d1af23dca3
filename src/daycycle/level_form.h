#pragma once
// The level window `Level_Form`: the blackboard `lv` the subject bars are drawn on,
// and the colour bands `beam` the bars are cut from.

#include "platform/ui/form.h"
#include "platform/gfx/surface.h"

namespace dalvo {

struct LevelForm {
    LevelForm();
    LevelForm(const LevelForm&) = delete;
    LevelForm& operator=(const LevelForm&) = delete;

    platform::Form form{"Level_Form", "Level", 330, 177};
    platform::Control* lv = nullptr;    // 330 x 177, the bars are drawn onto it
    platform::Control* beam = nullptr;  // 10 x 64, never shown
    // The blackboard without bars: what clearing `lv` goes back to.
    platform::Surface board;
};

// Band rows of `beam`, 16 pixels each.
inline constexpr int kBeamBlue = 0;
inline constexpr int kBeamGreen = 16;
inline constexpr int kBeamOrange = 32;
inline constexpr int kBeamRed = 48;

// Bar geometry on `lv`: bar i's top, the x of strip k, the strip's size.
inline constexpr int kBarTop = 50;
inline constexpr int kBarStep = 45;
inline constexpr int kBarLeft = 101;
inline constexpr int kStripWidth = 2;
inline constexpr int kStripHeight = 16;

// The blackboard with its heading, row labels and grid, and the colour bands.
platform::Surface Draw_board();
platform::Surface Draw_beam();

}  // namespace dalvo
