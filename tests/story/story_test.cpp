// The bundled story played headless to each of its endings through its choices, the way a
// player would: title, name entry, options, clicks, skip, choices, the ending to its close.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/fixture.h"
#include "support/trace_field.h"

namespace dalvo {
namespace {

namespace fs = std::filesystem;
using test::field;

struct Playthrough {
    fs::path out;
    std::string dump(const std::string& name) const { return test::read_file(out / (name + ".json")); }
    bool has_shot(const std::string& name) const { return fs::exists(out / (name + ".png")); }
};

// Whether a dump holds `part` as written; for arrays, whose closing bracket makes it exact.
::testing::AssertionResult holds(const std::string& json, const std::string& part) {
    if (json.find(part) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no " << part;
}

// Plays `script` and checks what every way through shares: a clean run, the opening
// shots and the names typed in, and the ending `hap` on the last day.
Playthrough play(const std::string& script, int hap) {
    test::FixtureFolder data;
    Playthrough p{fs::path(testing::TempDir()) / "story" / script};
    fs::remove_all(p.out);
    fs::create_directories(p.out);
    const fs::path input = fs::path(DALVO_SOURCE_DIR) / "tests/story" / (script + ".script");
    const test::RunResult run = test::run_dalvo({"--headless", "--data", data.path().string(), "--input",
                                                 input.string(), "--out", p.out.string(), "--trace",
                                                 (p.out / "trace.jsonl").string()});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    const std::vector<std::string> trace = test::read_lines(p.out / "trace.jsonl");
    for (const std::string& line : trace) EXPECT_NE(field(line, "ev"), "msgbox") << line;
    EXPECT_TRUE(!trace.empty() && field(trace.back(), "ev") == "exit") << "the program ends by its close";

    for (const char* shot : {"title", "date_card", "classroom", "choice"}) EXPECT_TRUE(p.has_shot(shot)) << shot;
    EXPECT_TRUE(holds(p.dump("options"), "\"forms\":[\"Main_Form\",\"Option_Window\"]"));
    const std::string card = p.dump("date_card");
    EXPECT_EQ(field(card, "g_Day"), "1");
    EXPECT_EQ(field(card, "g_DateText"), "12/25 PM");
    const std::string classroom = p.dump("classroom");
    EXPECT_TRUE(holds(classroom, "\"g_Names\":[\"\",\"相沢\",\"湊\",\"早瀬\",\"楓\",\"千登世\"]"));
    EXPECT_TRUE(holds(classroom, "\"Doll_shown\":[-1,0,0,-1]")) << "早瀬 and 航 on the stage";
    EXPECT_EQ(field(classroom, "waiting"), "click");
    EXPECT_EQ(field(p.dump("choice"), "waiting"), "choice");

    const std::string before = p.dump("before_end");
    EXPECT_EQ(field(before, "g_hap"), std::to_string(hap));
    EXPECT_EQ(field(before, "g_Day"), "7");
    EXPECT_EQ(field(before, "waiting"), "click");
    const std::string ending = p.dump("ending");
    EXPECT_EQ(field(ending, "g_Cmd"), "e") << "the ending runs";
    EXPECT_EQ(field(ending, "g_hap"), std::to_string(hap));
    return p;
}

TEST(Story, HayaseEndingShowsEveryKindOfScreenOnTheWay) {
    const Playthrough p = play("full_ending_1", 1);
    for (const char* shot : {"date_card_2", "level", "level.Level_Form", "before_end", "staff_roll", "staff_roll_2"})
        EXPECT_TRUE(p.has_shot(shot)) << shot;
    const std::string level = p.dump("level");
    EXPECT_TRUE(holds(level, "\"forms\":[\"Main_Form\",\"Level_Form\"]"));
    // The study morning: 数学 +6, 英語 +3, 国語 +4 over the start values.
    EXPECT_EQ(field(level, "g_suu"), "16");
    EXPECT_EQ(field(level, "g_hay"), "1");
    EXPECT_EQ(field(p.dump("choice_4"), "g_hay"), "2");
}

TEST(Story, RefusingAtTheLastEveningGivesThePlainEnding) {
    const Playthrough p = play("plain_ending", 0);
    EXPECT_EQ(field(p.dump("choice_4"), "g_hay"), "2") << "on 早瀬's way until the last choice";
    EXPECT_TRUE(p.has_shot("fin"));
}

TEST(Story, ChitoseEndingFollowsTheInvitationAndTheAlbum) {
    const Playthrough p = play("full_ending_2", 2);
    EXPECT_EQ(field(p.dump("choice_4"), "g_chi"), "2");
    EXPECT_TRUE(p.has_shot("staff_roll"));
}

TEST(Story, KaedeEndingNeedsTheMorningAtTheSea) {
    const Playthrough p = play("full_ending_3", 3);
    const std::string choice = p.dump("choice_4");
    EXPECT_EQ(field(choice, "g_kae"), "2");
    EXPECT_EQ(field(choice, "g_hat_umi"), "1");
}

}  // namespace
}  // namespace dalvo
