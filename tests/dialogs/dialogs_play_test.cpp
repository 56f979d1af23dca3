// The real program, headless: the options dialog from a script record and from the
// menu, and the about box from the menu, each operated through `press`.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "dialogs/maker.h"
#include "support/fixture.h"

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

// The text of a top-level value of a dump: a number, a string with its quotes, or an array.
std::string dump_value(const std::string& json, const std::string& key) {
    const std::string start = "\"" + key + "\":";
    const std::size_t at = json.find(start);
    if (at == std::string::npos) return "(missing)";
    const std::size_t from = at + start.size();
    std::size_t to = from;
    if (json[from] == '"') to = json.find('"', from + 1) + 1;
    else if (json[from] == '[') to = json.find(']', from) + 1;
    else to = json.find_first_of(",}", from);
    return json.substr(from, to - from);
}

TEST(DialogsPlay, ScriptRecordAndMenuOpenTheDialogsAndEveryControlWorks) {
    FixtureFolder data;
    data.write_text("3.dat", kScript);
    data.write_text("39.dat", "1001,a,1001\n");
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
           "press Option_Window.Command1\nidle\ndump applied\n"
           "menu vvrr\ndump about\npress frmAbout.Label3\npress frmAbout.Label4\n"
           "press frmAbout.cmdOK\ndump closed\n";
    const RunResult run = run_dalvo({"--headless", "--data", data.path().string(), "--input",
                                     data.file("play.txt").string(), "--out", out.string(),
                                     "--trace", trace.string()});
    ASSERT_EQ(run.exit_code, 0) << run.err;

    // The script waits on its "o" record while the dialog is open; Cancel changes nothing.
    const std::string by_script = read_file(out / "by_script.json");
    EXPECT_EQ(dump_value(by_script, "waiting"), "\"dialog\"");
    EXPECT_EQ(dump_value(by_script, "g_OptOpen"), "1");
    EXPECT_EQ(dump_value(by_script, "g_ScriptPos"), "1");
    EXPECT_EQ(dump_value(by_script, "forms"), "[\"Main_Form\",\"Option_Window\"]");
    const std::string cancelled = read_file(out / "cancelled.json");
    EXPECT_EQ(dump_value(cancelled, "g_OptOpen"), "0");
    EXPECT_EQ(dump_value(cancelled, "g_ScriptPos"), "2");
    EXPECT_EQ(dump_value(cancelled, "g_Text"), "\"おわり。\"");
    EXPECT_EQ(dump_value(cancelled, "g_BgmOn"), "-1");
    EXPECT_EQ(dump_value(cancelled, "g_MsgSpeed"), "3");

    // From the menu: OK applies the boxes and mode, and the menu's click wait goes on.
    EXPECT_EQ(dump_value(read_file(out / "by_menu.json"), "waiting"), "\"dialog\"");
    const std::string applied = read_file(out / "applied.json");
    EXPECT_EQ(dump_value(applied, "waiting"), "\"click\"");
    EXPECT_EQ(dump_value(applied, "forms"), "[\"Main_Form\"]");
    EXPECT_EQ(dump_value(applied, "g_MsgSpeed"), "2");
    EXPECT_EQ(dump_value(applied, "g_BgmOn"), "0");
    EXPECT_EQ(dump_value(applied, "g_SeOn"), "0");
    EXPECT_EQ(dump_value(applied, "g_MixerOk"), "-1");
    EXPECT_EQ(dump_value(applied, "g_VolSaved"), "65535");
    EXPECT_NE(dump_value(applied, "g_Flags").find("\"False\",\"False\",\" 2\""), std::string::npos);

    const std::string about = read_file(out / "about.json");
    const std::string closed = read_file(out / "closed.json");
    EXPECT_EQ(dump_value(about, "forms"), "[\"Main_Form\",\"frmAbout\"]");
    EXPECT_EQ(dump_value(closed, "forms"), "[\"Main_Form\"]");

    std::vector<std::string> shell, mixer;
    for (const std::string& line : read_lines(trace)) {
        if (line.find("\"ev\":\"shell\"") != std::string::npos) shell.push_back(line);
        if (line.find("\"ev\":\"mixer\"") != std::string::npos) mixer.push_back(line);
    }
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_NE(shell[0].find(std::string("\"url\":\"mailto:") + kMakerMail + "\""), std::string::npos);
    EXPECT_NE(shell[1].find(std::string("\"url\":\"") + kMakerWeb + "\""), std::string::npos);
    // Opened by OK, then put back and closed as the program ends.
    ASSERT_EQ(mixer.size(), 2u);
    EXPECT_NE(mixer[0].find("\"op\":\"open\""), std::string::npos);
}

}  // namespace
}  // namespace dalvo::test
