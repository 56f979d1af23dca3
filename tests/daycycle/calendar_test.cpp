// The calendar of half-days, the day-start record and the date card of "g1"; continuing
// a saved half-day: the state of its start, its music, the card with the level display,
// and the script from the record after its "g1".

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <utility>

#include "daycycle/day_rig.h"
#include "daycycle/daycycle.h"

namespace dalvo::test {
namespace {

// What the card shows at one moment.
struct CardLook {
    std::array<std::string, 5> caption;
    std::array<int, 5> left{};
    bool load_enabled = true;
    std::uint32_t t = 0;
    platform::Surface shown;
};

// Runs the script and keeps what each card showed when its caption came up.
std::vector<CardLook> watch_cards(DayRun& run) {
    std::vector<CardLook> cards;
    bool caption_up = false;
    run.run_watched([&run, &cards, caption_up]() mutable {
        const bool up = run.game().ui.FrontMes[4]->visible;
        if (up && !caption_up) {
            CardLook& look = cards.emplace_back();
            for (int i = 0; i < 5; ++i) {
                const platform::Control& c = *run.game().ui.FrontMes[i];
                look.caption[i] = c.caption;
                look.left[i] = c.left;
            }
            look.load_enabled = run.game().ui.menu("prog_load").enabled();
            look.t = run.now();
            look.shown = run.screen();
        }
        caption_up = up;
    });
    return cards;
}

TEST(Calendar, FirstHalfDayShowsItsCardAndWritesTheDayStartRecord) {
    DayRun run({
        {.scene = "1001", .place = "2", .text = "MS"},
        {.scene = "1001", .cmd = "g1", .arg1 = "終業式"},
        {.scene = "1002", .cmd = "r"},  // closing record
    });
    EngineState& g = run.g();
    g.g_hay = -3;
    std::vector<CardLook> cards = watch_cards(run);

    ASSERT_EQ(cards.size(), 1u);
    const CardLook& card = cards[0];
    // Where each caption sits is pinned by the card's picture below.
    EXPECT_EQ(card.caption, (std::array<std::string, 5>{"12", "月", "25", "日 PM", "終業式"}));
    EXPECT_FALSE(card.load_enabled);
    EXPECT_FALSE(run.game().ui.FrontMes[4]->visible);

    const std::array<std::string, 21> record = {
        " 1", "高城", "悠", "True", "True", " 0", " 1", " 0", " 0", " 0", " 0",
        " 0", " 0", " 0", " 0", " 20", " 10", " 16", " 2", "-3", " 0"};
    EXPECT_EQ(g.g_Flags, record);

    // Darkened, then 25 frames of 20 ms, half a second, two seconds, then back.
    const auto dark_end = run.times("effect", R"({"code":"DK","phase":"end"})");
    const auto back = run.times("effect", R"({"code":"BC","phase":"start"})");
    ASSERT_EQ(std::pair(dark_end.size(), back.size()), (std::pair<std::size_t, std::size_t>(1, 1)));
    EXPECT_EQ(back[0] - dark_end[0], 3000u);
    EXPECT_EQ(card.t - dark_end[0], 1000u);  // the caption after the slide and half a second
    // Every slide frame reports that it held its pace.
    EXPECT_EQ(run.times("frame", R"({"target":20,"took":20})").size(), 25u);
    expect_picture(card.shown, 0x841112d4e4e63590ull, "date_card", PictureCheck("daycycle"));
}

TEST(Calendar, CaptionsPlaceByLengthLeadingZerosBlankAndDarkeningIsNotRepeated) {
    DayRun run({
        {.scene = "1001", .place = "1", .text = "DK"},
        {.scene = "1001", .cmd = "g1"},
        {.scene = "1001", .cmd = "g1", .arg1 = "あいうえおかきくけこ"},
        {.scene = "1002", .cmd = "r"},  // closing record
    });
    run.g().g_Day = 13;
    std::vector<CardLook> cards = watch_cards(run);

    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].caption, (std::array<std::string, 5>{" 1", "月", " 1", "日 AM", ""}));
    EXPECT_EQ(cards[0].left[4], 320);
    EXPECT_EQ(cards[1].caption[3], "日 PM");
    EXPECT_EQ(cards[1].left[4], 240);
    EXPECT_EQ(run.g().g_DateText, "01/01 PM");
    EXPECT_EQ(run.g().g_Flags[0], " 15");
    EXPECT_EQ(run.g().g_Flags[6], " 2");

    // The background change darkened the stage, so the first card does not; the
    // second finds "BC" left by the first and darkens again.
    EXPECT_EQ(run.times("effect", R"({"code":"DK","phase":"start"})").size(), 2u);
    EXPECT_EQ(run.times("effect", R"({"code":"BC","phase":"start"})").size(), 2u);
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

// Two half-days played, and the day-start record of the first as a save made during it
// holds it.
class Continue : public ::testing::Test {
protected:
    void SetUp() override {
        run.run_watched([this] {
            if (g.g_Day == 1 && saved[0].empty()) saved = g.g_Flags;
        });
        ASSERT_EQ(saved[0], " 1");
        ASSERT_EQ(saved[6], " 1");
    }

    DayRun run{kTwoHalfDays};
    EngineState& g = run.g();
    Game& game = run.game();
    std::array<std::string, 21> saved;
};

TEST_F(Continue, FromTheTitleTheSavedHalfDayRestartsAfterItsG1WithMusicOff) {
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
        level = run.screen_of(game.level.form);
        for (int i = 0; i < 4; ++i) date += game.ui.FrontMes[i]->caption;
        top = game.ui.FrontMes[0]->top;
        day = g.g_Day;
    });
    Continue_game(game);
    run.watch({});

    EXPECT_EQ(std::tuple(date, top, day), std::tuple("12月25日 PM", 70, 1));
    EXPECT_EQ(level, board_with_bars({40, 20, 32}));  // the restored subjects, old and new bars alike

    // The script went on from the record after the first "g1": the second half-day once.
    // "g_hap" is not in the record: kept across the load.
    EXPECT_TRUE(holds(run.dump(), R"({"g_Day":2,"g_kok":25,"g_suu":11,"g_hap":9,"g_BgmOn":0})"));
    EXPECT_EQ(game.sound.g_BgmNo, 0);
    EXPECT_TRUE(run.events("mci").empty());

    // Darkened, the slide, the level display's three seconds, then back.
    const auto dark_end = run.times("effect", R"({"code":"DK","phase":"end"})");
    const auto back = run.times("effect", R"({"code":"BC","phase":"start"})");
    ASSERT_EQ(std::pair(dark_end.size(), back.size()), (std::pair<std::size_t, std::size_t>(4, 4)));
    EXPECT_EQ(back[2] - dark_end[2], 3500u);
}

TEST_F(Continue, DuringPlayTheRecordIsRestoredAndTheWaitingInterpreterReleased) {
    saved[20] = " 1";
    saved[18] = " 5";  // another background than the one on the stage
    g.g_Flags = saved;
    g.g_WaitClick = kTrue;
    // A sprite on the stage, as when someone speaks.
    game.ui.Doll_Disp[3]->move(398, 81, 144, 287);
    game.ui.Doll_Disp[3]->visible = true;
    game.stage.Doll_shown[3] = kTrue;
    game.ui.Pic_Main->refresh();
    // The sprites go and the new background is loaded into surfaces the player never
    // sees: nothing reaches the screen until the darkening draws it.
    int shown_before_dark = 0;
    bool dark = false;
    run.on_trace = [&](const Json& e) {
        if (matches(e, R"({"ev":"effect","code":"DK"})")) dark = true;
        else if (!dark && matches(e, R"({"ev":"present","form":"Main_Form"})")) ++shown_before_dark;
    };
    Continue_game(game);
    run.on_trace = {};
    EXPECT_EQ(shown_before_dark, 0);

    // The waiting interpreter advances past the "g1".
    EXPECT_TRUE(holds(run.dump(), R"({"g_ScriptPos":1,"g_Day":1,"g_WaitClick":0})"));
    EXPECT_EQ(game.sound.g_BgmNo, 1);
    const auto mci = run.events("mci");
    ASSERT_FALSE(mci.empty());
    EXPECT_NE(mci.front()["cmd"].str().find("bgm01.mid"), std::string::npos) << mci.front();

    // Music on but none in the record: the piece stops and nothing starts.
    saved[20] = " 0";
    g.g_Flags = saved;
    Continue_game(game);
    EXPECT_EQ(game.sound.g_BgmNo, 0);
    const auto after = run.events("mci");
    for (std::size_t i = mci.size(); i < after.size(); ++i) {
        EXPECT_FALSE(after[i]["cmd"].str().starts_with("open")) << after[i];
    }
}

}  // namespace
}  // namespace dalvo::test
