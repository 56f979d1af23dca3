// The real program, headless: the options dialog from a script record and from the
// menu, operated through `press`.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/fixture.h"
#include "support/json_value.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kScript =
    "num,cmd,jump,place,doll,face,spare,speaker,text,arg1,arg2,arg3,memo\n"
    "1001,,,,,,,0,はじまり。,,,,\n"
    "1001,o,,,,,,,,,,,\n"
    "1001,,,,,,,0,おわり。,,,,\n"
    "1001,q,,,,,,,,,,,\n"
    "1001,,,,,,,,,,,,\n";

TEST(DialogsPlay, ScriptRecordAndMenuOpenTheDialogsAndEveryControlWorks) {
    FixtureFolder data;
    data.write_scenario(kScript, "1001,a,1001\n");
    const fs::path out = data.path() / "out";
    const fs::path trace = data.path() / "trace.jsonl";
    std::ofstream(data.file("play.txt"))
        << "idle\npress Main_Form.Label1\nidle\npress Main_Form.Name_ent_btn\nidle\n"
           "click 300 200\nidle\ndump by_script\n"
           "press Option_Window.Option4\npress Option_Window.Check1\npress Option_Window.Command2\n"
           "idle\ndump cancelled\n"
           "menu opt_menu\nidle\ndump by_menu\n"
           "press Option_Window.Option2\npress Option_Window.Check1\npress Option_Window.Check2\n"
           "press Option_Window.Check3\npress Option_Window.Option1\npress Option_Window.Option3\n"
           "press Option_Window.Command1\nidle\ndump applied\n";
    const RunResult run = play_dalvo(data.path(), data.file("play.txt"), out, {"--trace", trace.string()});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto dump = [&out](const std::string& name) { return read_json(out / (name + ".json")); };

    // The script waits on its "o" record while the dialog is open; Cancel changes nothing.
    EXPECT_TRUE(
        holds(dump("by_script"), R"({"waiting":"dialog","g_ScriptPos":1,"forms":["Main_Form","Option_Window"]})"));
    EXPECT_TRUE(holds(dump("cancelled"), R"({"g_ScriptPos":2,"g_MsgSpeed":3})"));
    // From the menu: OK applies the boxes and mode, and the menu's click wait goes on.
    EXPECT_TRUE(holds(dump("by_menu"), R"({"waiting":"dialog"})"));
    EXPECT_TRUE(holds(dump("applied"), R"({"waiting":"click","g_MsgSpeed":2})"));
    const Json flags = dump("applied")["g_Flags"];
    EXPECT_EQ(flags[3].str() + flags[4].str() + flags[5].str(), "FalseFalse 2") << flags;

    // Opened by OK, then put back and closed as the program ends.
    EXPECT_EQ(texts(read_json_lines(trace), "op", "mixer"), (std::vector<std::string>{"open", "close"}));
}

}  // namespace
}  // namespace dalvo::test
