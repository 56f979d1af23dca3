// The level window and "g9": old bars, then the current ones; nothing when nothing changed.

#include <gtest/gtest.h>

#include <utility>

#include "daycycle/day_rig.h"

namespace dalvo::test {
namespace {

struct LevelLook {
    platform::Surface picture;
    bool main_enabled = true;
    bool load_enabled = true;
    std::uint32_t t = 0;
};

// Runs the script and keeps the level window each time its picture changed while it was up.
std::vector<LevelLook> watch_levels(DayRun& run) {
    std::vector<LevelLook> looks;
    run.run_watched([&run, &looks] {
        Game& game = run.game();
        if (!game.p.host.is_shown(game.level.form)) return;
        platform::Surface now = run.screen_of(game.level.form);
        if (now.empty()) return;  // not on the screen yet
        if (looks.empty() || !(looks.back().picture == now)) {
            looks.push_back({now, game.ui.form.enabled, game.ui.menu("prog_load").enabled(), run.now()});
        }
    });
    return looks;
}

TEST(Level, UnchangedSubjectsOnlyPauseChangedBarsGrowFromTheLastShownWithRedFrom80AndTheCapKept) {
    DayRun run({
        {.scene = "1001", .cmd = "g9"},  // nothing changed yet: three seconds, no window
        {.scene = "1001", .cmd = "p2", .text = "kok", .arg1 = "20"},   // 40: a bar of 80, red
        {.scene = "1001", .cmd = "p2", .text = "suu", .arg1 = "-10"},  // 0: no bar
        {.scene = "1001", .cmd = "p2", .text = "eig", .arg1 = "44"},   // 60: 120, held at 100
        {.scene = "1001", .cmd = "g9"},
        {.scene = "1001", .cmd = "g9"},
        {.scene = "1002", .cmd = "r"},  // closing record
    });
    Game& game = run.game();
    game.ui.form.left = 100;
    game.ui.form.top = 50;
    const std::uint32_t start = run.now();
    const std::vector<LevelLook> looks = watch_levels(run);

    // The start values' bars for a second, then the new ones; the last display shows
    // the same bars twice.
    ASSERT_EQ(looks.size(), 2u);
    // Pixel for pixel as a player would measure the bars, and pinned by their hash.
    expect_picture(looks[0].picture, 0xf5b5ef5d89e082b5ull, "level_start",
                   PictureCheck("daycycle").with_expected(board_with_bars({40, 20, 32})));
    expect_picture(looks[1].picture, 0x570de9c91ba264f5ull, "level_grown",
                   PictureCheck("daycycle").with_expected(board_with_bars({80, 0, 100})));
    EXPECT_EQ(looks[1].t - looks[0].t, 1000u);
    for (const LevelLook& look : looks) {
        EXPECT_FALSE(look.main_enabled);
        EXPECT_FALSE(look.load_enabled);
    }
    EXPECT_EQ(run.g().g_GraphHist, (std::array<std::int16_t, 3>{80, 0, 100}));
    const platform::Form& form = game.level.form;
    EXPECT_EQ(std::pair(form.left, form.top), std::pair(100 + 167, 50 + 167));  // 2500 twips in

    // 100 never equals twice 60, so the last "g9" showed the window again.
    // Each display darkens the stage and cuts back to it.
    EXPECT_EQ(texts(run.events("effect", R"({"phase":"start"})"), "code"),
              (std::vector<std::string>{"DK", "", "DK", ""}));
    EXPECT_EQ(run.times("effect").front() - start, 3000u);
    EXPECT_FALSE(game.p.host.is_shown(form));
    EXPECT_TRUE(game.ui.form.enabled);
}

}  // namespace
}  // namespace dalvo::test
