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
    for (const std::string& line : rig.events("ending")) {
        EXPECT_EQ(line.find("\"picture\""), std::string::npos) << line;
        EXPECT_EQ(line.find("\"skip\""), std::string::npos) << line;
    }
    // Five seconds of hold, two more, and the one-second dissolve of the last page.
    EXPECT_EQ(rig.time_of("\"fin\":\"start\"") - rig.time_of("\"page\":2"), 8000u);
    // 52 grey steps of 50 ms, then 61 yields half a second apart.
    EXPECT_EQ(rig.time_of("\"fin\":\"end\"") - rig.time_of("\"fin\":\"start\""), 52u * 50u);
    EXPECT_EQ(rig.time_of("\"close\":\"end\"") - rig.time_of("\"close\":\"start\""), 61u * 500u);
    EXPECT_EQ(rig.ui().FrontMes[2]->fore_color, platform::rgb(255, 255, 255));

    EXPECT_TRUE(sealed(rig.folder(), "70.dat"));
    EXPECT_TRUE(sealed(rig.folder(), "91.dat"));
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
    for (const char* name : {"71.dat", "76.dat", "79.dat", "92.dat"}) {
        EXPECT_NE(rig.line_with("\"picture\":\"" + std::string(name) + "\""), "");
    }
    // The piece plays once: opened after the ending began, never restarted.
    const std::string piece = rig.game().g.g_MusicFile[9];
    int opens = 0, plays = 0;
    for (const std::string& line : rig.events("mci")) {
        if (line.find("open") != std::string::npos && line.find(piece) != std::string::npos) ++opens;
        if (line.find("play midifile") != std::string::npos && time_of_line(line) >= start) ++plays;
    }
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(plays, 1);
    // Each card builds in 51 frames of 40 ms.
    const std::uint32_t built = rig.time_of("\"card\":3,\"phase\":\"end\"") - rig.time_of("\"card\":3,\"phase\":\"start\"");
    EXPECT_EQ(built, 51u * 40u);

    EXPECT_TRUE(sealed(rig.folder(), "79.dat"));
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
    EXPECT_NE(rig.line_with("\"close\":\"end\""), "");
    // The second final picture that could not be read leaves the stage black.
    const platform::Surface& stage = rig.ui().Pic_Main->image;
    EXPECT_EQ(stage.get(320, 160), platform::kBlack);
}

TEST(Ending, PageLinesAreCentredAtTwentyPixelsACharacter) {
    EndingRig rig({.hap = 3, .lines = {"あいうえおかきくけこ", "", "ＡＢ", "x"}});
    rig.shoot_at("\"page\":1", "page1");
    rig.shoot_at("\"page\":2", "page2");
    ASSERT_EQ(rig.play(), 0);

    // Each page as drawn by hand: the line's x is (450 - 20 c) / 2.
    const platform::FontSpec font{"ＭＳ ゴシック", 16, true, true};
    const platform::Color pink = 0xEAD5FF;
    auto page = [&](const std::string& line1, int x1, const std::string& line2, int x2) {
        platform::Surface s(450, 80);
        platform::draw_text(s, x1, 0, line1, font, pink);
        platform::draw_text(s, x2, 40, line2, font, pink);
        return s;
    };
    auto cut = [](const platform::Surface& screen) {
        platform::Surface s(450, 80);
        platform::bit_blt(s, 0, 0, 450, 80, screen, 100, 150, platform::Rop::SrcCopy);
        return s;
    };
    expect_same_picture(page("あいうえおかきくけこ", 125, "", 225), cut(rig.shot("page1")), "page1_lines");
    expect_same_picture(page("ＡＢ", 205, "x", 215), cut(rig.shot("page2")), "page2_lines");
}

TEST(Ending, TheProgramPlaysEachEndingFromTheTitleToItsEnd) {
    for (int hap : {0, 3}) {
        FixtureFolder folder;
        write_ending_scenario(folder, {.hap = hap});
        const std::filesystem::path input = folder.file("play.txt");
        folder.write_bytes("play.txt", std::string("idle\npress Main_Form.Label1\nidle\n"
                                                   "press Main_Form.Name_ent_btn\nwait 600000\n"));
        const std::filesystem::path trace = folder.file("trace.jsonl");
        const RunResult run = run_dalvo({"--headless", "--data", folder.path().string(), "--input",
                                         input.string(), "--trace", trace.string()});
        EXPECT_EQ(run.exit_code, 0) << run.err;
        bool closed = false, exited = false;
        for (const std::string& line : read_lines(trace)) {
            closed = closed || line.find("\"close\":\"end\"") != std::string::npos;
            if (line.find("\"ev\":\"exit\"") != std::string::npos) {
                exited = true;
                // The ending ends the program long before the script would.
                EXPECT_LT(time_of_line(line), 600000u);
            }
        }
        EXPECT_TRUE(closed && exited) << "g_hap " << hap;
        EXPECT_TRUE(sealed(folder, "71.dat"));
        EXPECT_TRUE(sealed(folder, "93.dat"));
    }
}

}  // namespace dalvo::test
