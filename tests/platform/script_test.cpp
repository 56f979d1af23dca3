#include <gtest/gtest.h>

#include <fstream>

#include "host_fixture.h"
#include "platform/automation/script.h"

namespace dalvo::platform {
namespace {

using testing_host::HostFixture;

std::string parse_error(std::string_view text) {
    Script script;
    std::string error;
    EXPECT_FALSE(parse_script(text, "t.script", script, error));
    return error;
}

TEST(ScriptParser, ReadsEveryCommandAndSkipsCommentsAndBlankLines) {
    Script script;
    std::string error;
    ASSERT_TRUE(parse_script("\xEF\xBB\xBF# demo\r\n"
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
                             "dump after/title",
                             "t.script", script, error))
        << error;
    const auto& c = script.commands;
    ASSERT_EQ(c.size(), 13u);
    EXPECT_EQ(c[0].ms, 250u);
    EXPECT_EQ(c[1].ms, kDefaultIdleMs);
    EXPECT_EQ(c[1].line, 4);
    EXPECT_EQ(c[3].x, 639);
    EXPECT_EQ(c[3].button, MouseButton::Right);
    EXPECT_EQ(c[4].key, key::F1 + 11);
    EXPECT_EQ(c[5].key, 'Q');
    EXPECT_EQ(c[6].text, "山田#1");
    EXPECT_EQ(c[8].text, "File_Window");
    EXPECT_EQ(c[8].control, "Picture1(2)");
    EXPECT_EQ(c[10].answer, MsgAnswer::No);
    EXPECT_EQ(c[12].text, "after/title");
}

TEST(ScriptParser, RefusesBadLinesNamingFileAndLine) {
    EXPECT_EQ(parse_error("wait 1\n\njump 3\n"), "t.script:3: unknown command \"jump\"");
    EXPECT_NE(parse_error("wait 1\nwait -5\n").find("t.script:2:"), std::string::npos);
    for (const char* bad : {"wait\n", "click 640 10\n", "click 1 2 middle\n", "key F13\n", "menu save\n",
                            "press Label1\n", "press Main_Form.SelTxt(x)\n", "answer maybe\n", "type\n",
                            "shot a b\n"})
        EXPECT_EQ(parse_error(bad).substr(0, 11), "t.script:1:") << bad;
}

class RunnerTest : public testing::Test, protected HostFixture {
protected:
    // A folder of each test's own: ctest runs the tests of this fixture side by side.
    RunnerTest()
        : form("Main_Form", "DALVO!", 640, 480),
          out(std::filesystem::path(testing::TempDir()) /
              (std::string("runner_test_") + testing::UnitTest::GetInstance()->current_test_info()->name())) {
        std::filesystem::remove_all(out);
        a = &form.add("A", ControlKind::Button);
        a->move(0, 0, 100, 100);
        b = &form.add("B", ControlKind::Button);
        b->move(200, 0, 100, 100);
        form.menu.push_back(MenuItem{"prog_end", "終了", true, {}});
        host.show_form(form);
        host.set_automation(AutomationHooks{[this] { return waiting; },
                                            [](JsonWriter& w) { w.field("g_ScriptPos", 7); },
                                            [this] { host.end_program(0); }});
    }
    // Runs the game's idle loop until the script has closed it.
    int run(std::string_view text) {
        Script script;
        std::string error;
        EXPECT_TRUE(parse_script(text, "t.script", script, error)) << error;
        host.set_script(std::make_unique<ScriptRunner>(std::move(script), ScriptOptions{out, true}));
        try {
            host.wait_until([] { return false; }, 10);
        } catch (const ProgramEnd& end) {
            return end.code;
        }
        return -1;
    }
    Form form;
    std::filesystem::path out;
    Control* a;
    Control* b;
    std::string waiting = "none";
};

TEST_F(RunnerTest, CommandsReachHandlersThatWaitInNestedYields) {
    std::vector<std::string> log;
    bool b_clicked = false;
    a->on_click = [&] {
        log.push_back("A at " + std::to_string(clock.ticks()));
        host.wait_until([&] { return b_clicked; }, 10);  // like a dialog's own loop
        log.push_back("A done");
    };
    b->on_click = [&] {
        log.push_back("B at " + std::to_string(clock.ticks()));
        b_clicked = true;
    };
    // The game's first yield comes 10 ms in; each wait starts when the script reaches it.
    EXPECT_EQ(run("wait 500\nclick 50 50\nwait 100\npress Main_Form.B\n"), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"A at 510", "B at 620", "A done"}));
}

TEST_F(RunnerTest, IdleWaitsForThePlayerPromptOrEndsWithThree) {
    Timer& prompt = host.add_timer("prompt", 2000, [&] { waiting = "click"; });
    prompt.set_enabled(true, 0);
    std::uint32_t answered_at = 0;
    a->on_click = [&] { answered_at = clock.ticks(); waiting = "none"; };
    EXPECT_EQ(run("idle\nclick 1 1\nidle 500\n"), 3);
    EXPECT_GE(answered_at, 2000u);
    EXPECT_LT(answered_at, 2100u);
    EXPECT_GE(clock.ticks(), answered_at + 500);
    EXPECT_NE(lines.back().find(R"("code":3)"), std::string::npos);
}

TEST_F(RunnerTest, ShotAndDumpWriteThePictureAndTheState) {
    Form dialog("Option_Window", "設定", 300, 200);
    host.show_form(dialog);
    waiting = "dialog";
    EXPECT_EQ(run("wait 30\nanswer no\nshot s/one\ndump d\n"), 0);
    std::ifstream png(out / "s" / "one.png", std::ios::binary);
    ASSERT_TRUE(png);
    unsigned char header[24];
    png.read(reinterpret_cast<char*>(header), 24);
    EXPECT_EQ(header[1], 'P');
    // IHDR: width and height, big-endian.
    EXPECT_EQ((header[16] << 24 | header[17] << 16 | header[18] << 8 | header[19]), 640);
    EXPECT_EQ((header[20] << 24 | header[21] << 16 | header[22] << 8 | header[23]), 480);
    EXPECT_TRUE(std::filesystem::exists(out / "s" / "one.Option_Window.png"));
    std::ifstream dump(out / "d.json");
    std::string json((std::istreambuf_iterator<char>(dump)), std::istreambuf_iterator<char>());
    EXPECT_EQ(json,
              R"({"time_ms":40,"waiting":"dialog","g_ScriptPos":7,"forms":["Main_Form","Option_Window"],)"
              R"("menu":{"prog_end":{"caption":"終了","enabled":true}}})"
              "\n");
    MsgAnswer next;
    EXPECT_TRUE(host.take_next_answer(next));
    EXPECT_EQ(next, MsgAnswer::No);
}

}  // namespace
}  // namespace dalvo::platform
