// Automation: input scripts and their runner, and the JSON of state dumps and the trace.

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "host_fixture.h"
#include "platform/automation/recorder.h"
#include "platform/automation/script.h"
#include "platform/codec/json.h"
#include "platform/automation/trace.h"
#include "platform/pacing.h"
#include "support/fixture.h"
#include "support/json_value.h"

namespace dalvo::platform {
namespace {

using testing_host::FormFixture;

Script parsed(std::string_view text) {
    Script script;
    std::string error;
    EXPECT_TRUE(parse_script(text, "t.script", script, error)) << error;
    return script;
}

std::string parse_error(std::string_view text) {
    Script script;
    std::string error;
    EXPECT_FALSE(parse_script(text, "t.script", script, error));
    return error;
}

TEST(ScriptParser, ReadsEveryCommandAndSkipsCommentsAndBlankLines) {
    const Script script = parsed("\xEF\xBB\xBF# demo\r\n"
                                 "wait 250\n"
                                 "\n"
                                 "   idle   # until the title\n"
                                 "idle 3000\n"
                                 "click 639 479 right\n"
                                 "key F12\n"
                                 "key q\n"
                                 "type 山田#1   # the family name\n"
                                 "menu speedup\n"
                                 "press File_Window.Picture1(2)\n"
                                 "hover Main_Form.SelTxt(0)\n"
                                 "answer no\n"
                                 "shot title\n"
                                 "dump after/title\n"
                                 "close\n"
                                 "close File_Window\n"
                                 "key Num7\n");
    const auto& c = script.commands;
    ASSERT_EQ(c.size(), 16u);
    EXPECT_EQ((std::tuple{c[0].ms, c[1].ms, c[1].line, c[3].x, c[3].button}),
              (std::tuple{250u, kDefaultIdleMs, 4, 639, MouseButton::Right}));
    EXPECT_EQ((std::array{c[4].key, c[5].key, c[15].key}), (std::array{key::F1 + 11, int{'Q'}, 103}));
    EXPECT_EQ((std::array{c[6].text, c[8].text, c[8].control, c[12].text, c[13].text, c[14].text}),
              (std::array<std::string, 6>{"山田#1", "File_Window", "Picture1(2)", "after/title", "", "File_Window"}));
    EXPECT_EQ(c[10].answer, MsgAnswer::No);
    EXPECT_EQ(c[13].op, ScriptOp::Close);
}

TEST(ScriptParser, EveryKeyTheWindowDeliversHasANameThatReadsBack) {
    for (int code = 0; code < 256; ++code) {
        const std::string name = key_name(code);
        if (!name.empty()) {
            EXPECT_EQ(key_code(name), code) << name;
        }
    }
    for (int code : {key::Enter, key::F1 + 11, int{'Z'}, int{'0'}, 16, 17, 18, 33, 34, 35, 36, 45, 46, 96, 105})
        EXPECT_NE(key_name(code), "") << code;
}

TEST(ScriptParser, RefusesBadLinesNamingFileAndLine) {
    EXPECT_EQ(parse_error("wait 1\n\njump 3\n"), "t.script:3: unknown command \"jump\"");
    for (const char* bad : {"wait\n", "wait -5\n", "click 640 10\n", "click 1 2 middle\n", "key F13\n",
                            "menu save\n", "press Label1\n", "press Main_Form.SelTxt(x)\n", "answer maybe\n",
                            "type\n", "shot a b\n", "close a b\n", "close 2nd\n", "key Num10\n",
                            // the player's controls
                            "key Meta+A\n", "key Ctrl+\n", "hold\n", "release Ctrl Alt\n", "wheel left\n",
                            "pad Z\n", "pad A sideways\n", "control fly\n"})
        EXPECT_EQ(parse_error(bad).substr(0, 11), "t.script:1:") << bad;
}

class RunnerTest : public testing::Test, protected FormFixture {
protected:
    // A folder of each test's own: ctest runs the tests of this fixture side by side.
    RunnerTest()
        : out(std::filesystem::path(testing::TempDir()) /
              (std::string("runner_test_") + testing::UnitTest::GetInstance()->current_test_info()->name())) {
        std::filesystem::remove_all(out);
        form.menu.push_back(MenuItem{"prog_end", "終了", true, {}});
        host.set_automation(AutomationHooks{[this] { return waiting; },
                                            [](JsonWriter& w) { w.field("g_ScriptPos", 7); },
                                            [this] { host.end_program(0); }});
    }
    // Runs the game's idle loop until the script has closed it.
    int run(std::string_view text) {
        auto owned = std::make_unique<ScriptRunner>(parsed(text), ScriptOptions{out, true});
        runner = owned.get();
        host.add_input_source(std::move(owned));
        try {
            platform::wait_until(host, [] { return false; }, 10);
        } catch (const ProgramEnd& end) {
            return end.code;
        }
        return -1;
    }
    std::filesystem::path out;
    ScriptRunner* runner = nullptr;
    std::string waiting = "none";
};

TEST_F(RunnerTest, CommandsReachHandlersThatWaitInNestedYields) {
    std::vector<std::string> log;
    bool pressed = false;
    stage->on_click = [&] {
        log.push_back("stage at " + std::to_string(clock.ticks()));
        platform::wait_until(host, [&] { return pressed; }, 10);  // like a dialog's own loop
        log.push_back("stage done");
    };
    button->on_click = [&] {
        log.push_back("button at " + std::to_string(clock.ticks()));
        pressed = true;
    };
    // The game's first yield comes 10 ms in; each wait starts when the script reaches it.
    EXPECT_EQ(run("wait 500\nclick 50 50\nwait 100\npress Main_Form.Command1\n"), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"stage at 510", "button at 620", "stage done"}));
}

TEST_F(RunnerTest, IdleWaitsForThePlayerPromptOrEndsWithThree) {
    Timer& prompt = host.add_timer("prompt", 2000, [&] { waiting = "click"; });
    prompt.set_enabled(true, 0);
    std::uint32_t answered_at = 0;
    stage->on_click = [&] { answered_at = clock.ticks(); waiting = "none"; };
    EXPECT_EQ(run("idle\nclick 1 1\nidle 500\n"), 3);
    EXPECT_GE(answered_at, 2000u);
    EXPECT_LT(answered_at, 2100u);
    EXPECT_GE(clock.ticks(), answered_at + 500);
    EXPECT_EQ(test::Json::parse(lines.back())["code"].num(), 3) << lines.back();
}

TEST_F(RunnerTest, ShotAndDumpWriteThePictureAndTheState) {
    Form dialog("Option_Window", "設定", 300, 200);
    host.show_form(dialog);
    waiting = "dialog";
    EXPECT_EQ(run("wait 30\nanswer no\nanswer ok\nshot s/one\ndump d\n"), 0);
    const std::string png = test::read_file(out / "s" / "one.png");
    // The signature, then the header chunk: 640 x 480, big-endian.
    EXPECT_EQ(png.substr(0, 24), std::string("\x89PNG\r\n\x1A\n\0\0\0\x0D" "IHDR\0\0\x02\x80\0\0\x01\xE0", 24));
    EXPECT_TRUE(std::filesystem::exists(out / "s" / "one.Option_Window.png"));
    EXPECT_EQ(test::read_file(out / "d.json"),
              R"({"time_ms":40,"waiting":"dialog","g_ScriptPos":7,"forms":["Main_Form","Option_Window"],)"
              R"("menu":{"prog_end":{"caption":"終了","enabled":true}}})"
              "\n");
    // The answers go to the boxes in turn; an OK fits a box that asks as its Yes.
    EXPECT_EQ(host.message_box("終了しますか？", MsgButtons::YesNo), MsgAnswer::No);
    EXPECT_EQ(host.message_box("終了しますか？", MsgButtons::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(runner->answer(), std::nullopt);
    // Answers standing at the script's place answer a box before the next yield, not past a wait.
    ScriptRunner early(parsed("answer no\nwait 10\nanswer no\n"), ScriptOptions{out, false});
    EXPECT_EQ(early.answer(), MsgAnswer::No);
    EXPECT_EQ(early.answer(), std::nullopt);
}

TEST_F(RunnerTest, TheRecorderWritesTheInputItWasGivenAsAScript) {
    const std::filesystem::path file = out / "session.script";
    std::filesystem::create_directories(out);
    Recorder recorder(host);
    std::string error;
    ASSERT_TRUE(recorder.start(file, "# head", error)) << error;
    Form dialog("File_Window", "ファイル", 300, 200);
    dialog.add("Command1", ControlKind::Button).move(10, 10, 50, 20);
    waiting = "title";
    int boxes = 0;
    stage->on_click = [&] {
        waiting = "none";
        host.message_box("終了しますか？", MsgButtons::YesNo);  // answered before the click is replayed
        ++boxes;
    };
    button->on_click = [&] { host.show_form(dialog); };
    EXPECT_EQ(run("wait 200\nanswer no\nclick 50 50\nwait 100\nkey Delete\ntype 山田 太郎\nmenu prog_end\n"
                  "press Main_Form.Command1\nhover Main_Form.Pic_Main\nclose\nclose File_Window\n"),
              0);
    // What only a real window sends: the mouse on a dialog, input the game ignores.
    host.show_form(dialog);
    send({MouseDown{"File_Window", 20, 15, MouseButton::Left}});  // on Command1
    send({MouseDown{"File_Window", 200, 150, MouseButton::Left}});  // on no control
    send({MouseDown{"Main_Form", 5, 5, MouseButton::Middle}});
    send({KeyDown{"Main_Form", 200}});
    send({TextInput{"Main_Form", "#1"}});
    dialog.enabled = false;
    send({KeyDown{"File_Window", key::Enter}});
    recorder.finish();
    send({KeyDown{"Main_Form", key::Enter}});  // after the end: not written
    EXPECT_EQ(boxes, 1);
    const std::string text = test::read_file(file);
    EXPECT_EQ(text,
              "# head\nidle\nanswer no\nclick 50 50\n"
              "wait 110\nkey Delete\n"
              "wait 10\ntype 山田 太郎\n"
              "wait 10\nmenu prog_end\n"
              "wait 10\npress Main_Form.Command1\n"
              "wait 10\nhover Main_Form.Pic_Main\n"
              "wait 10\nclose\n"
              "wait 10\nclose File_Window\n"
              "wait 10\npress File_Window.Command1\n"
              "# text typed here cannot be written as a script line\n"
              "dump end\n");
}

TEST(JsonWriter, NestsContainersWithCommasInTheRightPlacesAndEscapesText) {
    JsonWriter w;
    w.begin_object();
    w.field("a", 1).field("b", -2.5).field("c", true);
    w.array_field("names", std::vector<std::string>{"", "高城"});
    w.key("menu").begin_object();
    w.key("x").begin_object().field("enabled", false).end_object();
    w.key("y").begin_array().begin_array().end_array().null().end_array();
    w.end_object();
    w.end_object();
    EXPECT_EQ(w.str(),
              R"({"a":1,"b":-2.5,"c":true,"names":["","高城"],"menu":{"x":{"enabled":false},"y":[[],null]}})");
    // Text keeps its UTF-8; controls, quotes and broken bytes are escaped.
    EXPECT_EQ(json_escape("終了しますか？"), "終了しますか？");
    EXPECT_EQ(json_escape("a\"b\\c\nd\te\x01"), "a\\\"b\\\\c\\nd\\te\\u0001");
    // A lone Shift-JIS byte or a cut sequence would make the line invalid JSON.
    EXPECT_EQ(json_escape("x\x82y"), "x\\ufffdy");
    EXPECT_EQ(json_escape("\xC0\xAF"), "\\ufffd\\ufffd");  // overlong '/'
}

TEST(Trace, LinesCountTimeFromTheTraceStartAndReachObserversAndTheFile) {
    VirtualClock clock(5000);
    Trace trace(clock);
    const auto file = std::filesystem::path(testing::TempDir()) / "trace_test.jsonl";
    ASSERT_TRUE(trace.write_to(file));
    std::vector<std::string> lines;
    trace.add_observer([&](const std::string& line) { lines.push_back(line); });
    clock.sleep(120);
    trace.event("msgbox", {{"text", "終了しますか？"}, {"buttons", "yesno"}, {"answer", "no"}});
    const std::string line = R"({"t":120,"ev":"msgbox","text":"終了しますか？","buttons":"yesno","answer":"no"})";
    EXPECT_EQ(lines, std::vector<std::string>{line});
    // Written and flushed at once, so a reader sees it while the program runs.
    EXPECT_EQ(test::read_file(file), line + "\n");
}

TEST_F(RunnerTest, ThePlayersControlsReplayAsTheRecorderWritesThem) {
    const std::filesystem::path file = out / "controls.script";
    std::filesystem::create_directories(out);
    Recorder recorder(host);
    std::string error;
    ASSERT_TRUE(recorder.start(file, "# head", error)) << error;
    const std::string lines = "key Ctrl+Alt+A\nhold Ctrl\nkey Q\nrelease Ctrl\nkey Q\nwheel up\nwheel down\n"
                              "pad RB down\npad RB up\ncontrol auto\n";
    EXPECT_EQ(run(lines), 0);
    recorder.finish();
    std::string replayed;
    for (const std::string& line : test::read_lines(file)) {
        if (line.rfind("wait", 0) != 0 && line.rfind("idle", 0) != 0 && line.rfind("#", 0) != 0 &&
            line.rfind("dump", 0) != 0)
            replayed += line + "\n";
    }
    // Held modifiers reach the keys pressed meanwhile: the recorder writes what it was given.
    EXPECT_EQ(replayed, "key Ctrl+Alt+A\nhold Ctrl\nkey Ctrl+Q\nrelease Ctrl\nkey Q\nwheel up\nwheel down\n"
                        "pad RB down\npad RB up\ncontrol auto\n");
}

}  // namespace
}  // namespace dalvo::platform
