// Background changes and the transitions: end pictures, frame counts, virtual time.

#include <gtest/gtest.h>

#include "stage/stage.h"
#include "support/stage_rig.h"

namespace dalvo::test {
namespace {

using platform::Surface;

// Old and new stage pictures that differ in every pixel.
void prepare(StageRig& rig) {
    paint(rig.ui().Pic_Main->image, [](int x, int y) { return background_pixel(1, x, y); });
    paint(rig.ui().Pic_Back->image, [](int x, int y) { return background_pixel(1, x, y) ^ platform::kWhite; });
}

struct EffectRun {
    std::vector<std::uint32_t> presents;  // the clock at each present of the game window
    std::uint32_t ms = 0;
    int probes = 0;  // timer ticks seen inside yields
};

EffectRun run_effect(StageRig& rig, const std::string& code) {
    prepare(rig);
    EffectRun run;
    platform::Timer& probe = rig.game().p.host.add_timer("probe", 1, [&run] { ++run.probes; });
    probe.set_enabled(true, rig.now());
    rig.st().g_Effect = code;
    const std::uint32_t start = rig.now();
    PlaceEffect(rig.game());
    run.ms = rig.now() - start;
    run.presents = rig.presents_during(code);
    probe.set_enabled(false, rig.now());
    return run;
}

// Every frame an effect draws reaches the screen: each refresh is a present.
TEST(Transition, EveryEffectShowsEachFrameAndEndsWithTheNewPictureInItsOwnTime) {
    struct Case {
        std::string code;
        std::size_t presents;  // at least: a frame that changes no pixel shows nothing new
        std::uint32_t ms;
        int yields;  // yields that let a due timer fire
    };
    const Case cases[] = {
        {"DI", 50, 0, 0},   {"VB", 150, 0, 0},  {"HB", 90, 0, 0},  {"HC", 40, 43 * 50, 43},
        {"BC", 10, 10 * 40, 10}, {"IC", 2, 300, 1}, {"MS", 9, 9 * 100, 9}, {"", 0, 0, 0},
        {"XY", 0, 0, 0},    {"di", 0, 0, 0},
    };
    StageRig rig;
    for (const Case& c : cases) {
        const EffectRun run = run_effect(rig, c.code);
        EXPECT_GE(run.presents.size(), c.presents) << c.code;
        EXPECT_TRUE(rig.screen() == composed(rig.ui().form)) << c.code;
        EXPECT_EQ(run.ms, c.ms) << c.code;
        EXPECT_EQ(run.probes, c.yields) << c.code;
        EXPECT_TRUE(rig.ui().Pic_Main->image == rig.ui().Pic_Back->image) << c.code;
        EXPECT_EQ(rig.st().g_Effect, c.code);
    }
    // "IC": the first half shows for its 300 ms before the second half does.
    const EffectRun ic = run_effect(rig, "IC");
    ASSERT_EQ(ic.presents.size(), 2u);
    EXPECT_GE(ic.presents[1] - ic.presents[0], 300u);

    const auto effects = rig.events("effect");
    ASSERT_EQ(effects.size(), 2 * std::size(cases) + 2);
    EXPECT_TRUE(holds(effects[6], R"({"code":"HC","phase":"start"})"));
    EXPECT_TRUE(holds(effects[7], R"({"code":"HC","phase":"end"})"));
}

TEST(Transition, BackgroundChangeBurnsTheSpritesInAndStartsAFreshPage) {
    StageRig rig;
    Game& game = rig.game();
    rig.doll(1, 1, "L");
    rig.doll(2, 1, "R");
    const platform::Surface sprite0 = rig.ui().Doll_Disp[0]->image;
    game.w.LineNo = 2;
    game.w.LastSpeaker = 3;
    rig.ui().TxtFrame1[1]->image.fill_rect(0, 0, 50, 10, platform::kWhite);
    rig.ui().Clicker->set_enabled(true, rig.now());
    rig.ui().Blinker->visible = true;

    Surface at_start;
    rig.on_trace = [&](const Json& e) {
        if (e["phase"].str() == "start") at_start = rig.ui().Pic_Main->image;
    };
    game.w.Place_no = 2;
    game.g.g_Text = "DIの後に続く文";
    EXPECT_EQ(Place_change(game), 2);

    // The transition started from the stage with both sprites in it.
    EXPECT_EQ(at_start.get(50 + 10, 168 + 150), sprite0.get(10, 150));
    EXPECT_EQ(at_start.get(350 + 10, 368 - 10), sprite_pixel(1, 200, 200, 10, 190));

    const Surface& stage = rig.ui().Pic_Main->image;
    EXPECT_EQ(stage.get(5, 25), background_pixel(2, 5, 0));
    EXPECT_EQ(stage.get(5, 24), wall_pixel(5, 24));
    EXPECT_EQ(stage.get(5, 345), wall_pixel(5, 25));
    EXPECT_TRUE(holds(rig.dump(), R"({"g_Effect":"DI","Doll_shown":[0,0,0,0],"LineNo":-1,"LastSpeaker":0})"));
    EXPECT_FALSE(rig.ui().Doll_Disp[1]->visible);
    EXPECT_FALSE(rig.ui().Clicker->enabled());
    EXPECT_FALSE(rig.ui().Blinker->visible);
    EXPECT_EQ(rig.ui().TxtFrame1[1]->image.get(3, 3), platform::kBlack);

    // A text of one character is a cut.
    game.w.Place_no = 1;
    game.g.g_Text = "D";
    const std::uint32_t start = rig.now();
    Place_change(game);
    EXPECT_EQ(rig.now(), start);
    EXPECT_EQ(rig.ui().Pic_Main->image.get(5, 25), background_pixel(1, 5, 0));
}

TEST(Transition, AnUnreadableBackgroundOrAnUnknownSlotEndsTheGameWithAMessage) {
    StageRig rig;
    rig.folder().write_bytes("72.dat", std::string("BM not a picture"));
    rig.game().w.Place_no = 2;
    EXPECT_EQ(rig.until_end([&] { Place_change(rig.game()); }), 1);
    ASSERT_EQ(rig.messages().size(), 1u);
    EXPECT_NE(rig.messages()[0].find("72.dat"), std::string::npos);
    // The orderly way out seals the pictures again.
    EXPECT_EQ(rig.folder().signature("51.dat"), "JF");

    rig.game().g.g_DollSlot = 5;
    rig.game().g.g_DollNo = 1;
    EXPECT_EQ(rig.until_end([&] { Doll_change(rig.game()); }), 1);
    EXPECT_EQ(rig.events("msgbox").size(), 2u);
}

}  // namespace
}  // namespace dalvo::test
