// Continuing a saved half-day: the state of its start, its music, the card with the
// level display, and the script from the record after its "g1".

#include <gtest/gtest.h>

#include "daycycle/day_rig.h"
#include "daycycle/daycycle.h"

namespace dalvo::test {
namespace {

using Record = std::array<std::string, 21>;

// Plays two half-days and returns the day-start record of the first, as a save made
// during it holds it.
Record play_and_save_first_half_day(DayRun& run) {
    Record saved;
    run.watch([&run, &saved] {
        if (run.g().g_Day == 1 && saved[0].empty()) saved = run.g().g_Flags;
    });
    run.run().run();
    run.stop_watching();
    EXPECT_EQ(saved[0], " 1");
    EXPECT_EQ(saved[6], " 1");
    return saved;
}

const std::vector<Rec> kTwoHalfDays = {
    {.scene = "1001", .place = "3", .text = "MS"},
    {.scene = "1001", .cmd = "g1", .arg1 = "一日目"},
    {.scene = "1001", .cmd = "p2", .text = "kok", .arg1 = "5"},
    {.scene = "1001", .cmd = "p2", .text = "hap", .arg1 = "2"},
    {.scene = "1002", .cmd = "g1", .arg1 = "二日目"},
    {.scene = "1002", .cmd = "p2", .text = "suu", .arg1 = "1"},
    {.scene = "1003", .cmd = "r"},  // closing record
};

TEST(Continue, FromTheTitleTheSavedHalfDayRestartsAfterItsG1WithMusicOff) {
    DayRun run(kTwoHalfDays);
    Record saved = play_and_save_first_half_day(run);
    EngineState& g = run.g();
    Game& game = run.game();

    // What the load put in place: music off, though the record names a piece.
    saved[3] = "False";
    saved[20] = " 4";
    g.g_Flags = saved;
    g.g_Running = kFalse;
    g.g_hap = 7;
    g.g_kok = 99;

    std::string date;
    int top = 0, day = 0;
    platform::Surface level;
    run.watch([&] {
        if (!level.empty() || !game.p.host.is_shown(game.level.form)) return;
        for (int i = 0; i < 4; ++i) date += game.ui.FrontMes[i]->caption;
        top = game.ui.FrontMes[0]->top;
        day = g.g_Day;
        level = run.screen_of(game.level.form);
    });
    Continue_game(game);
    run.stop_watching();

    EXPECT_EQ(date, "12月25日 PM");
    EXPECT_EQ(top, 70);
    EXPECT_EQ(day, 1);
    EXPECT_EQ(level, board_with_bars({40, 20, 32}));  // the restored subjects, old and new bars alike

    // The script went on from the record after the first "g1": the second half-day once.
    EXPECT_EQ(g.g_Day, 2);
    EXPECT_EQ(g.g_kok, 25);
    EXPECT_EQ(g.g_suu, 11);
    EXPECT_EQ(g.g_hap, 9);  // not in the record: kept across the load
    EXPECT_EQ(g.g_BgmOn, kFalse);
    EXPECT_EQ(game.sound.g_BgmNo, 0);
    EXPECT_TRUE(run.run().events("mci").empty());

    // Darkened, the slide, the level display's three seconds, then back.
    const auto dark_end = run.times("effect", "\"code\":\"DK\",\"phase\":\"end\"");
    const auto back = run.times("effect", "\"code\":\"BC\",\"phase\":\"start\"");
    ASSERT_EQ(dark_end.size(), 4u);
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[2] - dark_end[2], 3500u);
}

TEST(Continue, DuringPlayTheRecordIsRestoredAndTheWaitingInterpreterReleased) {
    DayRun run(kTwoHalfDays);
    Record saved = play_and_save_first_half_day(run);
    EngineState& g = run.g();
    Game& game = run.game();

    saved[20] = " 1";
    g.g_Flags = saved;
    g.g_WaitClick = kTrue;
    Continue_game(game);

    EXPECT_EQ(g.g_ScriptPos, 1);  // the waiting interpreter advances past the "g1"
    EXPECT_EQ(g.g_Day, 1);
    EXPECT_EQ(g.g_WaitClick, kFalse);
    EXPECT_EQ(game.sound.g_BgmNo, 1);
    const auto mci = run.run().events("mci");
    ASSERT_FALSE(mci.empty());
    EXPECT_NE(mci.front().find("bgm01.mid"), std::string::npos) << mci.front();

    // Music on but none in the record: the piece stops and nothing starts.
    saved[20] = " 0";
    g.g_Flags = saved;
    Continue_game(game);
    EXPECT_EQ(game.sound.g_BgmNo, 0);
    const auto after = run.run().events("mci");
    for (std::size_t i = mci.size(); i < after.size(); ++i) {
        EXPECT_EQ(after[i].find("\"cmd\":\"open"), std::string::npos) << after[i];
    }
}

}  // namespace
}  // namespace dalvo::test
