// The ending as the player sees it: its timeline on the virtual clock, its pages and
// pictures, and the program's orderly end.

#include <gtest/gtest.h>

#include "ending/ending_rig.h"
#include "platform/font.h"

namespace dalvo::test {

namespace {

bool sealed(const FixtureFolder& folder, const std::string& name) {
    const std::vector<std::uint8_t> bytes = folder.read_bytes(name);
    return bytes.size() >= 2 && bytes[0] == 'J' && bytes[1] == 'F';
}

// Screenshots checked by eye once.
constexpr std::uint64_t kPageHash = 0x655eb5aef33c65b3;
constexpr std::uint64_t kFinHash = 0x25172084b843500e;
constexpr std::uint64_t kCardHash = 0xcc6b1ff2cbb42638;
constexpr std::uint64_t kFinalPictureHash = 0x660fdaf575c3f836;

}  // namespace

TEST(Ending, PlainEndingShowsFinAndEndsTheProgramWithoutTouchingMusicOrPictures) {
    EndingRig rig;
    // The plain ending reads no picture: without them it still runs as it should.
    for (const char* name : {"71.dat", "73.dat", "76.dat", "77.dat", "90.dat"}) rig.folder().remove(name);
    rig.shoot_at("\"page\":1", "page");
    rig.shoot_at("\"fin\":\"end\"", "fin");

    EXPECT_EQ(rig.play(), 0);

    const std::uint32_t start = rig.time_of("\"start\":0");
    const std::uint32_t end = rig.time_of("\"close\":\"end\"");
    for (const std::string& line : rig.events("mci")) {
        EXPECT_FALSE(time_of_line(line) >= start && time_of_line(line) <= end) << line;
    }
    // Five seconds of hold, two more, and the one-second dissolve of the last page.
    EXPECT_EQ(rig.time_of("\"fin\":\"start\"") - rig.time_of("\"page\":2"), 8000u);
    EXPECT_TRUE(sealed(rig.folder(), "70.dat"));
    expect_picture_hash(rig.shot("page"), kPageHash, "plain_page");
    expect_picture_hash(rig.shot("fin"), kFinHash, "plain_fin");
}

TEST(Ending, FullEndingFollowsTheMusicTimeline) {
    EndingRig rig({.hap = 2});
    rig.shoot_at("\"code\":\"Staff_disp\",\"card\":1,\"phase\":\"end\"", "card");
    rig.shoot_at("\"close\":\"start\"", "final");

    EXPECT_EQ(rig.play(), 0);
    EXPECT_EQ(rig.game().g.g_hap, 2);

    const std::uint32_t start = rig.time_of("\"start\":2");
    const std::uint32_t t0 = rig.time_of("\"music\":9");
    // The wait to 6800 ms, five grey steps of 330 ms and one second.
    EXPECT_EQ(rig.time_of("\"card\":1,\"phase\":\"start\"") - t0, 6800u + 5u * 330u + 1000u);
    EXPECT_GE(rig.time_of("\"picture\":\"73.dat\"") - t0, 24000u);
    // The piece plays once: opened after the ending began, never restarted.
    const std::string piece = rig.game().g.g_MusicFile[9];
    int opens = 0, plays = 0;
    for (const std::string& line : rig.events("mci")) {
        if (line.find("open") != std::string::npos && line.find(piece) != std::string::npos) ++opens;
        if (line.find("play midifile") != std::string::npos && time_of_line(line) >= start) ++plays;
    }
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(plays, 1);

    EXPECT_TRUE(sealed(rig.folder(), "92.dat"));
    expect_picture_hash(rig.shot("card"), kCardHash, "full_card1");
    expect_picture_hash(rig.shot("final"), kFinalPictureHash, "full_final2");
}

TEST(Ending, PicturesThatCannotBeReadAreSkippedAndTheProgramStillEnds) {
    EndingRig rig({.hap = 1});
    rig.folder().remove("73.dat");
    rig.folder().write_bytes("91.dat", std::string("JFnot a picture"));

    EXPECT_EQ(rig.play(), 0);
    EXPECT_NE(rig.line_with("\"skip\":\"73.dat\""), "");
    EXPECT_NE(rig.line_with("\"skip\":\"91.dat\""), "");
    // The second final picture that could not be read leaves the stage black.
    EXPECT_EQ(rig.ui().Pic_Main->image.get(320, 160), platform::kBlack);
}

TEST(Ending, PageLinesAreCentredAtTwentyPixelsACharacter) {
    EndingRig rig({.hap = 3, .lines = {"あいうえおかきくけこ", "", "ＡＢ", "x"}});
    rig.shoot_at("\"page\":1", "page1");
    rig.shoot_at("\"page\":2", "page2");
    ASSERT_EQ(rig.play(), 0);

    // Each page as drawn by hand: the line's x is (450 - 20 c) / 2.
    auto check = [](const platform::Surface& screen, const std::string& line1, int x1,
                    const std::string& line2, int x2, const std::string& name) {
        platform::Surface drawn(450, 80), shown(450, 80);
        const platform::FontSpec font{"ＭＳ ゴシック", 16, true, true};
        platform::draw_text(drawn, x1, 0, line1, font, 0xEAD5FF);
        platform::draw_text(drawn, x2, 40, line2, font, 0xEAD5FF);
        platform::bit_blt(shown, 0, 0, 450, 80, screen, 100, 150, platform::Rop::SrcCopy);
        expect_same_picture(drawn, shown, name);
    };
    check(rig.shot("page1"), "あいうえおかきくけこ", 125, "", 225, "page1_lines");
    check(rig.shot("page2"), "ＡＢ", 205, "x", 215, "page2_lines");
}

}  // namespace dalvo::test
