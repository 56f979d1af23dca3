// A session recorded with --record (or DALVO_RECORD) replays to the same state.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "support/fixture.h"

namespace dalvo {
namespace {

namespace fs = std::filesystem;

std::string without_comments(const std::string& script) {
    return std::regex_replace(script, std::regex("(^|\n)#[^\n]*"), "");
}

// The bundled story from the title: the name entry, the options dialog the story
// opens, a choice, a save, a load, the options again from the menu, and a refused close.
constexpr const char* kSession =
    "idle\npress Main_Form.Label1\nidle\nkey Backspace\ntype 相\npress Main_Form.Name_ent_btn\n"
    "idle\nclick 320 200\nidle\nclick 320 200\n"
    "idle\npress Option_Window.Check3\nidle\npress Option_Window.Command1\nwait 100\n"
    "idle\nclick 320 200\nidle\nclick 320 200\nidle\nclick 320 200\nwait 2000\n"
    "idle\nmenu speedup\nidle\npress Main_Form.SelTxt(0)\nwait 1200\nidle\nclick 320 200\n"
    "idle\nmenu prog_save\nidle\npress File_Window.Picture1(1)\nidle\npress File_Window.Label3(0)\n"
    "idle\npress File_Window.Label3(1)\nidle\nclick 320 200\nidle\nclick 320 200\n"
    "idle\nmenu prog_load\nidle\npress File_Window.Label1(1)\nidle\npress File_Window.Label3(3)\nwait 8000\n"
    "idle\nmenu opt_menu\nidle\npress Option_Window.Command1\nwait 100\n"
    "idle\nanswer no\nmenu prog_end\nidle\nclick 320 200\ndump final\n";

TEST(Recording, AHeadlessSessionThroughAChoiceASaveAndALoadReplaysToTheSameState) {
    test::FixtureFolder first, second;  // the session saves into its folder: each run has its own
    const fs::path out = first.path() / "out", again = second.path() / "out";
    first.write_bytes("session.script", kSession);
    const test::RunResult played = test::play_dalvo(first.path(), first.file("session.script"), out,
                                                    {"--record", first.file("recorded.script").string()});
    ASSERT_EQ(played.exit_code, 0) << played.err;
    ASSERT_TRUE(fs::exists(first.file("41.dat")));
    const std::string recorded = test::read_file(first.file("recorded.script"));
    EXPECT_EQ(recorded.rfind("# DALVO! Ver. 1.20, engine build ", 0), 0u) << recorded;
    EXPECT_TRUE(std::regex_search(recorded, std::regex("3\\.dat [0-9a-f]{16}, 39\\.dat [0-9a-f]{16}")));
    EXPECT_NE(recorded.find("# options: --headless --data "), std::string::npos);
    for (const char* line : {"\nidle\nkey Backspace\nidle\ntype 相\n", "\npress File_Window.Label3(3)\n",
                             "\nidle\nanswer no\nmenu prog_end\n"}) {
        EXPECT_NE(recorded.find(line), std::string::npos) << line;
    }
    EXPECT_TRUE(recorded.ends_with("\ndump end\n"));

    // The player's way: the game started once with DALVO_RECORD set.
    const auto replayed = [&] {
        const test::ScopedEnv record("DALVO_RECORD", second.file("again.script").string());
        return test::play_dalvo(second.path(), first.file("recorded.script"), again);
    }();
    ASSERT_EQ(replayed.exit_code, 0) << replayed.err;
    const std::string final_state = test::read_file(out / "final.json");
    ASSERT_FALSE(final_state.empty());
    EXPECT_EQ(test::without_time(test::read_file(again / "end.json")),
              test::without_time(final_state));
    EXPECT_TRUE(fs::exists(second.file("41.dat")));
    // Replayed, the session is written down as it was.
    const std::string rerecorded = test::read_file(second.file("again.script"));
    EXPECT_NE(rerecorded.find("(recording asked by DALVO_RECORD)"), std::string::npos);
    EXPECT_EQ(without_comments(rerecorded), without_comments(recorded));
}

}  // namespace
}  // namespace dalvo
