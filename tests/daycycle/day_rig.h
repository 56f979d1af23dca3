#pragma once
// A headless game on a fixture folder with a script of day records, and what the
// day-cycle tests look at: pictures taken while the game runs, trace times.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_run.h"
#include "platform/gfx/surface.h"
#include "support/fixture.h"
#include "support/picture_check.h"

namespace dalvo::test {

class DayRun {
public:
    // Writes the script and loads the game (no click waits: skip mode).
    explicit DayRun(const std::vector<Rec>& records,
                    const std::function<std::unique_ptr<platform::PlatformSet>()>& make_platform = {});
    ~DayRun();

    Game& game() { return run_->game(); }
    EngineState& g() { return run_->g(); }
    EngineRun& run() { return *run_; }
    std::uint32_t now() { return game().p.clock.ticks(); }

    // Calls `look` at every yield of the game until stopped.
    void watch(std::function<void()> look);
    void stop_watching();

    // The game window's client area, or another open form's, as the player sees it.
    platform::Surface screen();
    // The form as the player sees it (as last presented); empty before its first present.
    platform::Surface screen_of(platform::Form& form);

    // Clock times of the trace lines of `ev` that contain `part`.
    std::vector<std::uint32_t> times(const std::string& ev, const std::string& part = "") const;

private:
    FixtureFolder folder_;
    std::unique_ptr<EngineRun> run_;
    platform::Timer* watcher_ = nullptr;
    std::function<void()> look_;
};

// The level window's blackboard with bars of the given lengths, strip by strip as a
// player would measure them: v + 1 strips of 2 pixels from x = 101, blue below 80,
// red from 80, none for 0.
platform::Surface board_with_bars(const std::array<int, 3>& lengths);

}  // namespace dalvo::test
