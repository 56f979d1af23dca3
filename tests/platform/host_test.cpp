#include <gtest/gtest.h>

#include "host_fixture.h"

namespace dalvo::platform {
namespace {

using testing_host::HostFixture;

class HostTest : public testing::Test, protected HostFixture {
protected:
    HostTest() : form("Main_Form", "DALVO!", 640, 480) {
        stage = &form.add("Pic_Main", ControlKind::Picture);
        stage->move(0, 0, 640, 368);
        button = &form.add("Command1", ControlKind::Button);
        button->move(100, 100, 80, 24);
        host.show_form(form);
    }
    void click(int x, int y, MouseButton b = MouseButton::Left) {
        host.post(MouseDown{"Main_Form", x, y, b});
        host.post(MouseUp{"Main_Form", x, y, b});
        host.yield();
    }
    Form form;
    Control* stage;
    Control* button;
};

TEST_F(HostTest, AClickIsPressAndReleaseOnTheSameControl) {
    std::vector<std::string> got;
    button->on_mouse_down = [&](const MouseEvent& e) {
        got.push_back("down " + std::to_string(e.x) + "," + std::to_string(e.y));
    };
    button->on_mouse_up = [&](const MouseEvent&) { got.push_back("up"); };
    button->on_click = [&] { got.push_back("click"); };
    stage->on_click = [&] { got.push_back("stage click"); };
    form.on_mouse_down = [&](const MouseEvent& e) { got.push_back("form " + std::to_string(e.y)); };

    click(110, 105);
    EXPECT_EQ(got, (std::vector<std::string>{"down 10,5", "up", "click"}));
    got.clear();
    // Pressed on the button, released over the stage: the button hears the release, no one clicks.
    host.post(MouseDown{"Main_Form", 110, 105, MouseButton::Left});
    host.post(MouseUp{"Main_Form", 10, 10, MouseButton::Left});
    host.yield();
    click(110, 105, MouseButton::Right);
    EXPECT_EQ(got, (std::vector<std::string>{"down 10,5", "up", "down 10,5", "up"}));
    got.clear();
    click(5, 400);
    EXPECT_EQ(got, (std::vector<std::string>{"form 400"}));
    got.clear();
    form.enabled = false;  // behind a modal dialog
    click(110, 105);
    host.post(MenuCommand{"Main_Form", "prog_end"});
    host.yield();
    EXPECT_TRUE(got.empty());
}

TEST_F(HostTest, DisabledMenuCommandsDoNothing) {
    int saves = 0;
    form.menu.push_back(MenuItem{"prog_save", "セーブ", false, [&] { ++saves; }});
    host.post(MenuCommand{"Main_Form", "prog_save"});
    host.post(MenuCommand{"Main_Form", "no_such"});
    host.yield();
    form.menu_item("prog_save")->enabled = true;
    host.post(MenuCommand{"Main_Form", "prog_save"});
    host.yield();
    EXPECT_EQ(saves, 1);
}

TEST_F(HostTest, KeysGoToTheFocusedControlElseTheForm) {
    std::vector<int> stage_keys, form_keys;
    stage->tab_index = 0;
    stage->on_key_down = [&](int k) { stage_keys.push_back(k); };
    form.on_key_down = [&](int k) { form_keys.push_back(k); };
    host.post(KeyDown{"Main_Form", key::Enter});
    host.yield();
    click(10, 10);  // gives the stage the focus
    host.post(KeyDown{"Main_Form", key::Space});
    host.yield();
    EXPECT_EQ(form_keys, std::vector<int>{key::Enter});
    EXPECT_EQ(stage_keys, std::vector<int>{key::Space});
}

TEST_F(HostTest, TextBoxesTakeTypedTextInTabOrder) {
    Control& family = form.add("Text1", ControlKind::TextBox);
    family.move(200, 400, 100, 20);
    family.tab_index = 1;
    family.max_length = 5;
    Control& given = form.add("Text2", ControlKind::TextBox);
    given.move(320, 400, 100, 20);
    given.tab_index = 2;
    button->tab_index = 3;
    int changes = 0;
    family.on_change = [&] { ++changes; };

    host.post(PressControl{"Main_Form", "Text1"});
    host.post(TextEditing{"Main_Form", "やまだ"});
    host.yield();
    EXPECT_EQ(family.composition, "やまだ");
    host.post(TextInput{"Main_Form", "山田"});
    host.post(KeyDown{"Main_Form", key::Left});
    host.post(TextInput{"Main_Form", "x"});
    host.post(KeyDown{"Main_Form", key::Backspace});
    host.post(KeyDown{"Main_Form", key::Backspace});
    host.post(TextInput{"Main_Form", "本田太郎"});  // cut at five characters
    host.yield();
    EXPECT_EQ(family.text, "本田太郎田");
    EXPECT_EQ(family.caret, 4);
    EXPECT_EQ(changes, 5);

    host.post(KeyDown{"Main_Form", key::Tab});
    host.post(TextInput{"Main_Form", "悠"});
    host.post(KeyDown{"Main_Form", key::Tab});
    host.yield();
    EXPECT_EQ(given.text, "悠");
    EXPECT_EQ(form.focus, button);
    given.enabled = false;  // skipped by Tab
    host.post(KeyDown{"Main_Form", key::Tab});
    host.post(KeyDown{"Main_Form", key::Tab});
    host.yield();
    EXPECT_EQ(form.focus, button);
}

TEST_F(HostTest, PressingBoxesSetsTheirValueBeforeTheClick) {
    Control& frame = form.add("Frame1", ControlKind::Frame);
    frame.move(0, 380, 300, 90);
    Control& on = frame.add("Option1(0)", ControlKind::OptionButton);
    Control& off = frame.add("Option1(1)", ControlKind::OptionButton);
    Control& other = form.add("Option2", ControlKind::OptionButton);  // another group
    Control& check = form.add("Check3", ControlKind::CheckBox);
    on.value = 1;
    other.value = 1;
    int seen = -1;
    off.on_click = [&] { seen = on.value * 10 + off.value; };
    host.post(PressControl{"Main_Form", "Option1(1)"});
    host.post(PressControl{"Main_Form", "Check3"});
    host.yield();
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(other.value, 1);
    EXPECT_EQ(check.value, 1);
    check.enabled = false;  // as for a player, nothing happens
    host.post(PressControl{"Main_Form", "Check3"});
    host.yield();
    EXPECT_EQ(check.value, 1);
}

TEST_F(HostTest, TimersFireInsideYieldAndHandlersMayWaitInside) {
    int blinks = 0, nested = 0;
    Timer& clicker = host.add_timer("Clicker", 500, [&] { ++blinks; });
    clicker.set_enabled(true, clock.ticks());
    Timer* later = nullptr;
    later = &host.add_timer("later", 1200, [&] {
        host.post(PressControl{"Main_Form", "Pic_Main"});
        later->set_enabled(false, clock.ticks());
    });
    later->set_enabled(true, clock.ticks());
    bool done = false;
    button->on_click = [&] {
        // A handler that waits: timers and later input still arrive inside its yields.
        host.wait_until([&] { return done; }, 10);
        ++nested;
    };
    stage->on_click = [&] { done = true; };
    host.post(PressControl{"Main_Form", "Command1"});
    host.yield();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(blinks, 2);
    EXPECT_EQ(clock.ticks(), 1210u);
}

TEST_F(HostTest, MessageBoxesAndTheExitAreTraced) {
    host.set_next_answer(MsgAnswer::No);
    EXPECT_EQ(host.message_box("終了しますか？", MsgButtons::YesNo), MsgAnswer::No);
    host.set_next_answer(MsgAnswer::No);  // an OK box has no No
    EXPECT_EQ(host.message_box("フォルダの内容が不正です.", MsgButtons::Ok), MsgAnswer::Ok);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], R"({"t":0,"ev":"msgbox","text":"終了しますか？","buttons":"yesno","answer":"no"})");
    EXPECT_NE(lines[1].find(R"("buttons":"ok","answer":"ok")"), std::string::npos);
    // Ending the program traces the exit and unwinds to the caller.
    clock.sleep(42);
    EXPECT_THROW(host.end_program(1), ProgramEnd);
    EXPECT_EQ(lines.back(), R"({"t":42,"ev":"exit","code":1})");
}

TEST(HostInstance, OneHostPerDataFolderUntilItEnds) {
    const auto folder = std::filesystem::path(testing::TempDir()) / "instance_test_data";
    std::filesystem::create_directories(folder);
    auto first = std::make_unique<HostFixture>();
    ASSERT_TRUE(first->host.acquire_instance(folder));
    HostFixture second, elsewhere;
    EXPECT_FALSE(second.host.acquire_instance(folder / "."));  // the same folder, spelt otherwise
    EXPECT_TRUE(elsewhere.host.acquire_instance(folder.parent_path()));
    first.reset();  // the lock ends with the host
    EXPECT_TRUE(second.host.acquire_instance(folder));
}

}  // namespace
}  // namespace dalvo::platform
