// The real program, headless: a save made in the second half-day and loaded later,
// from the menu and from the title of a fresh run, returns to that half-day's start.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/fixture.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kScript =
    "num,cmd,jump,place,doll,face,spare,speaker,text,arg1,arg2,arg3,memo\n"
    "1001,,,0,,,,,MS,,,,\n"
    "1001,,,,,,,0,プロローグ。,,,,\n"
    "1001,g1,,,,,,,,初日,,,\n"
    "1001,,,,,,,0,一日目。,,,,\n"
    "1001,p2,,,,,,,kok,5,,,\n"
    "1001,g1,,,,,,,,二日目,,,\n"
    "1001,,,,,,,0,二日目の始まり。,,,,\n"  // record 6
    "1001,p2,,,,,,,kok,7,,,\n"
    "1001,p2,,,,,,,eig,-3,,,\n"
    "1001,,,,,,,0,二日目の続き。,,,,\n"
    "1001,q,,,,,,,,,,,\n"
    "1001,,,,,,,,,,,,\n";

// The text of a top-level value of a dump: a number or a string with its quotes.
std::string field(const std::string& json, const std::string& key) {
    const std::string start = "\"" + key + "\":";
    const std::size_t at = json.find(start);
    if (at == std::string::npos) return "(missing)";
    const std::size_t from = at + start.size();
    std::size_t to = from;
    if (json[from] == '"') to = json.find('"', from + 1) + 1;
    else to = json.find_first_of(",}", from);
    return json.substr(from, to - from);
}

void write_input(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }

TEST(SavePlay, ALoadReturnsToTheStartOfTheSavedHalfDayFromTheMenuAndFromTheTitle) {
    FixtureFolder data;
    data.write_text("3.dat", kScript);
    data.write_text("39.dat", "1001,a,1001\n");
    const fs::path out = data.path() / "out";
    // Continue_game's card and level display take a few seconds after the dialog closes.
    const std::string after_load = "idle\nwait 8000\nidle\n";
    write_input(data.file("play.txt"),
                "idle\npress Main_Form.Label1\nidle\npress Main_Form.Name_ent_btn\nidle\n"
                "click 300 200\nidle\nclick 300 200\nidle\n"
                "dump start\n"
                "menu prog_save\nidle\npress File_Window.Picture1(1)\nidle\n"
                "press File_Window.Label3(0)\nidle\npress File_Window.Label3(1)\nidle\n"
                "click 300 200\nidle\ndump changed\n"
                "menu prog_load\nidle\npress File_Window.Label1(1)\nidle\npress File_Window.Label3(3)\n" +
                    after_load + "dump loaded\n");
    const RunResult play = run_dalvo({"--headless", "--data", data.path().string(), "--input",
                                      data.file("play.txt").string(), "--out", out.string()});
    ASSERT_EQ(play.exit_code, 0) << play.err;
    EXPECT_TRUE(fs::exists(data.file("41.dat")));

    write_input(data.file("continue.txt"),
                "idle\npress Main_Form.Label2\nidle\npress File_Window.Label1(1)\nidle\n"
                "press File_Window.Label3(3)\n" + after_load + "dump continued\n");
    const RunResult fresh = run_dalvo({"--headless", "--data", data.path().string(), "--input",
                                       data.file("continue.txt").string(), "--out", out.string()});
    ASSERT_EQ(fresh.exit_code, 0) << fresh.err;

    const std::string start = read_file(out / "start.json");
    const std::string changed = read_file(out / "changed.json");
    ASSERT_EQ(field(start, "g_ScriptPos"), "6");
    ASSERT_EQ(field(start, "g_Day"), "2");
    EXPECT_NE(field(changed, "g_kok"), field(start, "g_kok"));
    for (const char* name : {"loaded.json", "continued.json"}) {
        const std::string resumed = read_file(out / name);
        for (const char* key : {"waiting", "g_ScriptPos", "g_Text", "g_Day", "g_DateText", "g_kok", "g_eig",
                                "g_suu", "g_BgmOn", "g_SeOn", "g_MsgSpeed", "Place_no"}) {
            EXPECT_EQ(field(resumed, key), field(start, key)) << name << " " << key;
        }
    }
}

}  // namespace
}  // namespace dalvo::test
