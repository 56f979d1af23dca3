// The level window in a real window (run under Xvfb by the window smoke test): the
// window itself shows the old bars, then the new ones, as the headless screen does.

#include <gtest/gtest.h>

#include "daycycle/day_rig.h"
#include "platform/sdl/sdl_backend.h"

// The day-cycle rig, built into this program once.
#include "daycycle/day_rig.cpp"  // NOLINT(bugprone-suspicious-include)

namespace dalvo::test {
namespace {

TEST(WindowInner, LevelWindowShowsTheOldBarsThenTheNewOnes) {
    if (std::getenv("DALVO_WINDOW_INNER") == nullptr) GTEST_SKIP() << "runs inside Xvfb only";
    DayRun run({{.scene = "1001", .cmd = "p2", .text = "kok", .arg1 = "20"},  // 40: a bar of 80, red
                {.scene = "1001", .cmd = "g9"},
                {.scene = "1002", .cmd = "r"}},
               /*window=*/true);
    Game& game = run.game();
    auto& backend = dynamic_cast<platform::SdlBackend&>(game.p.host.backend());
    std::vector<platform::Surface> looks;
    run.run_watched([&] {
        if (!game.p.host.is_shown(game.level.form)) return;
        game.p.host.present();
        platform::Surface now;
        if (!backend.read_client(game.level.form, now)) return;
        if (looks.empty() || !(looks.back() == now)) looks.push_back(now);
    });
    ASSERT_EQ(looks.size(), 2u);
    EXPECT_TRUE(looks[0] == board_with_bars({40, 20, 32}));
    EXPECT_TRUE(looks[1] == board_with_bars({80, 20, 32}));
}

}  // namespace
}  // namespace dalvo::test
