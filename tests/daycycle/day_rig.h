#pragma once
// A headless game on a fixture folder with a script of day records, loaded and ready
// to run without click waits, for the day-cycle tests.

#include <array>
#include <vector>

#include "platform/gfx/surface.h"
#include "support/game_rig.h"

namespace dalvo::test {

class DayRun : public GameRig {
public:
    explicit DayRun(const std::vector<Rec>& records, bool window = false) : GameRig({.window = window}) {
        folder().write_scenario(script_text(records), first_scene_choice(records));
        EXPECT_EQ(load(), -1) << "the window load ended the program";
        g().g_MsgSpeed = 0;
        // Play starts with the title put away, as the name entry leaves it.
        ui().Title->visible = false;
    }
};

// The level window's blackboard with bars of the given lengths, strip by strip as a
// player would measure them: v + 1 strips of 2 pixels from x = 101, blue below 80,
// red from 80, none for 0.
platform::Surface board_with_bars(const std::array<int, 3>& lengths);

}  // namespace dalvo::test
