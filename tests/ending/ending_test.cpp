// The ending as the player sees it: its timeline on the virtual clock, its pages and
// pictures, the staff roll's cards and the grey and dark steps pixel for pixel, and the
// program's orderly end.

#include <gtest/gtest.h>

#include "ending/ending_rig.h"
#include "ending/staff_roll.h"
#include "platform/gfx/font.h"

namespace dalvo::test {

namespace {

// Screenshots checked by eye once.
constexpr std::uint64_t kPageHash = 0xdf6108ff4a73c43d;
constexpr std::uint64_t kFinHash = 0x656d358cdb931d84;
constexpr std::uint64_t kCardHash = 0x360363c97531e6a6;
constexpr std::uint64_t kFinalPictureHash = 0xa0f2dd384a2ef4f8;

// A staff roll ready to run: the table filled, the card and the picture placed.
struct StaffRig {
    EndingRig rig;
    MainForm& ui = rig.ui();
    StaffRig() {
        fill_staff_text(rig.game().ending);
        ui.Staff_pic1->move(380, 200, 260, 100);
        ui.End_pic->move(50, 150, 320, 160);
        Staff_texture(rig.game());
    }
};

}  // namespace

TEST(Ending, PlainEndingShowsFinAndEndsTheProgramWithoutTouchingMusicOrPictures) {
    EndingRig rig;
    // The plain ending reads no picture: without them it still runs as it should.
    for (const char* name : {"71.dat", "73.dat", "76.dat", "77.dat", "90.dat"}) rig.folder().remove(name);
    rig.shoot_at(R"({"page":1})", "page");
    rig.shoot_at(R"({"fin":"end"})", "fin");

    EXPECT_EQ(rig.play(), 0);

    const std::uint32_t start = rig.time_of(R"({"start":0})");
    const std::uint32_t end = rig.time_of(R"({"close":"end"})");
    for (const Json& e : rig.events("mci")) EXPECT_FALSE(time_of(e) >= start && time_of(e) <= end) << e;
    // Five seconds of hold, two more, and the one-second dissolve of the last page.
    EXPECT_EQ(rig.time_of(R"({"fin":"start"})") - rig.time_of(R"({"page":2})"), 8000u);
    EXPECT_EQ(rig.folder().signature("70.dat"), "JF");
    expect_picture(rig.shot("page"), kPageHash, "plain_page");
    expect_picture(rig.shot("fin"), kFinHash, "plain_fin");
}

TEST(Ending, FullEndingFollowsTheMusicTimeline) {
    EndingRig rig({.hap = 2});
    rig.shoot_at(R"({"code":"Staff_disp","card":1,"phase":"end"})", "card");
    rig.shoot_at(R"({"close":"start"})", "final");

    EXPECT_EQ(rig.play(), 0);

    const std::uint32_t start = rig.time_of(R"({"start":2})");  // the ending of "hap" 2
    const std::uint32_t t0 = rig.time_of(R"({"music":9})");
    // The wait to 6800 ms, five grey steps of 330 ms and one second.
    EXPECT_EQ(rig.time_of(R"({"card":1,"phase":"start"})") - t0, 6800u + 5u * 330u + 1000u);
    EXPECT_GE(rig.time_of(R"({"picture":"73.dat"})") - t0, 24000u);
    // The piece plays once: opened after the ending began, never restarted.
    const std::string piece = rig.game().g.g_MusicFile[9];
    int opens = 0, plays = 0;
    for (const Json& e : rig.events("mci")) {
        const std::string& cmd = e["cmd"].str();
        if (cmd.find("open") != std::string::npos && cmd.find(piece) != std::string::npos) ++opens;
        if (cmd.find("play midifile") != std::string::npos && time_of(e) >= start) ++plays;
    }
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(plays, 1);

    EXPECT_EQ(rig.folder().signature("92.dat"), "JF");
    expect_picture(rig.shot("card"), kCardHash, "full_card1");
    expect_picture(rig.shot("final"), kFinalPictureHash, "full_final2");
}

TEST(Ending, PicturesThatCannotBeReadAreSkippedAndTheProgramStillEnds) {
    EndingRig rig({.hap = 1});
    rig.folder().remove("73.dat");
    rig.folder().write_bytes("91.dat", std::string("JFnot a picture"));

    EXPECT_EQ(rig.play(), 0);
    EXPECT_FALSE(rig.first(R"({"skip":"73.dat"})").is_null());
    EXPECT_FALSE(rig.first(R"({"skip":"91.dat"})").is_null());
    // The second final picture that could not be read leaves the stage black.
    EXPECT_EQ(rig.ui().Pic_Main->image.get(320, 160), platform::kBlack);
}

TEST(Ending, PageLinesAreCentredAtTwentyPixelsACharacter) {
    EndingRig rig({.hap = 3, .lines = {"あいうえおかきくけこ", "", "ＡＢ", "x"}});
    rig.shoot_at(R"({"page":1})", "page1");
    rig.shoot_at(R"({"page":2})", "page2");
    ASSERT_EQ(rig.play(), 0);

    // Each page as drawn by hand: the line's x is (450 - 20 c) / 2.
    auto check = [](const platform::Surface& screen, const std::string& line1, int x1,
                    const std::string& line2, int x2, const std::string& name) {
        platform::Surface drawn(450, 80), shown(450, 80);
        const platform::FontSpec font{"ＭＳ ゴシック", 16, true, true};
        platform::draw_text(drawn, x1, 0, line1, font, platform::Color{0xEAD5FF});
        platform::draw_text(drawn, x2, 40, line2, font, platform::Color{0xEAD5FF});
        platform::bit_blt(shown, 0, 0, 450, 80, screen, 100, 150, platform::Rop::SrcCopy);
        expect_same_picture(drawn, shown, name);
    };
    check(rig.shot("page1"), "あいうえおかきくけこ", 125, "", 225, "page1_lines");
    check(rig.shot("page2"), "ＡＢ", 205, "x", 215, "page2_lines");
}

TEST(StaffRoll, CardAssemblesIntoExactlyTheCardBuiltAndTakesFiftyOneFrames) {
    StaffRig s;
    Game& game = s.rig.game();
    platform::Surface first_frame;
    // Fires at the first yield of card 1: its first frame is drawn by then.
    platform::Timer& peek = game.p.host.add_timer("peek", 1, [&] {
        if (first_frame.empty()) first_frame = s.ui.Staff_pic1->image;
    });
    peek.set_enabled(true, s.rig.now());
    for (std::int16_t n : {1, 2, 6}) {
        const std::uint32_t before = s.rig.now();
        Staff_disp(game, n);
        EXPECT_EQ(s.rig.now() - before, 51u * 40u) << "card " << n;
        expect_same_picture(s.ui.Staff_pic2->image, s.ui.Staff_pic1->image, "card" + std::to_string(n));
        // The tiles fly in from scattered places, not a fade of the whole card.
        EXPECT_TRUE(n != 1 || !(first_frame.empty() || first_frame == s.ui.Staff_pic1->image));
    }
    peek.set_enabled(false, s.rig.now());
    // The first card is raised to make room for the credit line.
    EXPECT_EQ(s.ui.Staff_pic1->top, 180);

    // Tiles start from the same places in every run of the program.
    StaffRig again;
    for (std::int16_t n : {1, 2, 6}) Staff_disp(again.rig.game(), n);
    EXPECT_EQ(game.ending.TileX, again.rig.game().ending.TileX);
    EXPECT_EQ(game.ending.TileY, again.rig.game().ending.TileY);
}

TEST(StaffRoll, GreyStepsKeepGreyAndDarkStepsEndBlack) {
    using platform::rgb;
    StaffRig s;
    Game& game = s.rig.game();
    platform::Surface& picture = s.ui.End_pic->image;
    paint(picture, [](int x, int y) { return rgb(x % 256, (y * 3) % 256, 200); });
    picture.set(10, 10, rgb(77, 77, 77));
    picture.set(11, 10, rgb(255, 0, 0));

    const std::uint32_t before = s.rig.now();
    End_grey(game);
    EXPECT_EQ(s.rig.now() - before, 5u * 330u);
    EXPECT_EQ(picture.get(10, 10), rgb(77, 77, 77));
    // Red went half way to the mean of the others, and they towards it.
    const platform::Color red = picture.get(11, 10);
    EXPECT_LT(platform::red_of(red), 255);
    EXPECT_GT(platform::green_of(red), 0);

    End_dark(game);
    expect_same_picture(platform::Surface(320, 160, platform::kBlack), picture, "end_dark");

    Staff_disp(game, 4);
    Staff_dark(game);
    const platform::Surface black(260, 100, platform::kBlack);
    expect_same_picture(black, s.ui.Staff_pic1->image, "staff_dark");
}

}  // namespace dalvo::test
