// The virtual clock and timers the host runs on, and the host delivering input to forms.

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <utility>

#include "host_fixture.h"
#include "support/answers.h"
#include "support/json_value.h"
#include "support/picture_check.h"

namespace dalvo::platform {
namespace {

using testing_host::FormFixture;

TEST(VirtualClock, LocalTimeStartsOnChristmasMorningAndFollowsVirtualTime) {
    VirtualClock clock(0xFFFFFF00u);  // a start near the wrap must not matter
    LocalTime t = clock.local_time();
    EXPECT_EQ(t.month * 10000 + t.day * 100 + t.hour, 122509);
    clock.sleep(15 * 3600 * 1000u + 61'500u);  // to the next day, past midnight
    t = clock.local_time();
    EXPECT_EQ(t.day * 10000 + t.hour * 100 + t.minute, 260001);
    EXPECT_EQ(clock.ticks(), 0xFFFFFF00u + 15 * 3600 * 1000u + 61'500u);  // wrapped
    clock.advance(7 * 24 * 3600 * 1000u);
    EXPECT_EQ(clock.local_time().year * 10000 + clock.local_time().month * 100 + clock.local_time().day, 20010102);
}

TEST(Timer, FiresEveryIntervalOnItsGridNeverInsideItsOwnHandlerAndEnablingRestartsTheCountdown) {
    int ticks = 0;
    Timer timer("Clicker", 500, [&] {
        ++ticks;
        EXPECT_FALSE(timer.poll(10'000));  // a yield inside the handler, with the next tick long due
    });
    EXPECT_FALSE(timer.poll(10'000));  // disabled
    timer.set_enabled(true, 0);
    EXPECT_FALSE(timer.poll(499));
    EXPECT_TRUE(timer.poll(500));
    // A late look gives one tick, and the next stays on the 500 ms grid.
    EXPECT_TRUE(timer.poll(2700));
    EXPECT_FALSE(timer.poll(2999));
    EXPECT_TRUE(timer.poll(3000));
    EXPECT_EQ(ticks, 3);

    timer.set_enabled(true, 3200);  // already on: the countdown starts again
    EXPECT_FALSE(timer.poll(3500));
    EXPECT_TRUE(timer.poll(3700));
    timer.set_enabled(false, 3700);
    EXPECT_FALSE(timer.poll(9000));
    EXPECT_EQ(ticks, 4);
    timer.set_enabled(true, 0xFFFFFF00u);  // due 500 ms later, past the tick-count wrap
    EXPECT_FALSE(timer.poll(0xFFFFFFFFu));
    EXPECT_TRUE(timer.poll(0x000001F4u - 0x100u));
}

class HostTest : public testing::Test, protected FormFixture {
protected:
    void click(int x, int y, MouseButton b = MouseButton::Left) {
        send({MouseDown{"Main_Form", x, y, b}, MouseUp{"Main_Form", x, y, b}});
    }
    static KeyDown key_down(int k, int mods = 0) { return {"Main_Form", k, mods}; }
    static TextInput typed(std::string utf8) { return {"Main_Form", std::move(utf8)}; }
    // The name boxes "Text1" and "Text2" below the stage, tabbed to in turn before the button.
    std::pair<Control&, Control&> text_boxes() {
        Control& family = form.add("Text1", ControlKind::TextBox);
        Control& given = form.add("Text2", ControlKind::TextBox);
        family.move(200, 400, 100, 20);
        given.move(320, 400, 100, 20);
        family.tab_index = 1;
        given.tab_index = 2;
        button->tab_index = 3;
        return {family, given};
    }
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
    const auto heard = [&] { return std::exchange(got, {}); };

    click(110, 105);
    EXPECT_EQ(heard(), (std::vector<std::string>{"down 10,5", "up", "click"}));
    // Pressed on the button, released over the stage: the button hears the release, no one clicks.
    send({MouseDown{"Main_Form", 110, 105, MouseButton::Left}, MouseUp{"Main_Form", 10, 10, MouseButton::Left}});
    click(110, 105, MouseButton::Right);
    EXPECT_EQ(heard(), (std::vector<std::string>{"down 10,5", "up", "down 10,5", "up"}));
    click(5, 400);
    EXPECT_EQ(heard(), (std::vector<std::string>{"form 400"}));
    form.enabled = false;  // behind a modal dialog
    click(110, 105);
    EXPECT_TRUE(got.empty());
}

TEST_F(HostTest, MenuCommandsRunOnlyEnabledItemsOfAnEnabledForm) {
    int saves = 0;
    form.menu.push_back(MenuItem{"prog_save", "セーブ", false, [&] { ++saves; }});
    const InputEvent save = MenuCommand{"Main_Form", "prog_save"};
    send({save, MenuCommand{"Main_Form", "no_such"}});
    form.set_menu_enabled("prog_save", true);
    form.enabled = false;  // behind a modal dialog
    send({save});
    form.enabled = true;
    send({save});
    EXPECT_EQ(saves, 1);
}

TEST_F(HostTest, KeysGoToTheFocusedControlElseTheForm) {
    std::vector<int> stage_keys, form_keys;
    stage->tab_index = 0;
    stage->on_key_down = [&](int k) { stage_keys.push_back(k); };
    form.on_key_down = [&](int k) { form_keys.push_back(k); };
    send({key_down(key::Enter)});
    click(10, 10);  // gives the stage the focus
    send({key_down(key::Space)});
    EXPECT_EQ(form_keys, std::vector<int>{key::Enter});
    EXPECT_EQ(stage_keys, std::vector<int>{key::Space});
}

TEST_F(HostTest, TextBoxesTakeTypedTextInTabOrder) {
    auto [family, given] = text_boxes();
    family.max_length = 5;
    int changes = 0;
    family.on_change = [&] { ++changes; };

    send({PressControl{"Main_Form", "Text1"}, TextEditing{"Main_Form", "やまだ"}});
    EXPECT_EQ(family.composition, "やまだ");
    send({typed("山田"), key_down(key::Left), typed("x"), key_down(key::Backspace), key_down(key::Backspace),
          typed("本田太郎")});  // cut at five characters
    EXPECT_EQ((std::tuple<std::string, int, int>{family.text, family.caret, changes}),
              (std::tuple{"本田太郎田", 4, 5}));

    send({key_down(key::Tab), typed("悠"), key_down(key::Tab)});
    EXPECT_EQ(given.text, "悠");
    EXPECT_EQ(form.focus(), button);
    given.enabled = false;  // skipped by Tab
    send({key_down(key::Tab), key_down(key::Tab)});
    EXPECT_EQ(form.focus(), button);
}

// As in the desktop's own text boxes: Shift+Tab goes back, a box tabbed into has its text
// selected, Shift with Home and End selects, and typing or deleting takes the selection.
TEST_F(HostTest, TabBothWaysSelectsTheBoxReachedAndShiftSelectsForTheNextKey) {
    auto [family, given] = text_boxes();
    family.text = "山田";
    given.text = "太郎";
    const auto state = [](const Control& c) { return std::tuple<std::string, int, int>{c.text, c.anchor, c.caret}; };

    send({PressControl{"Main_Form", "Text1"}, key_down(key::Tab, mod::Shift)});
    EXPECT_EQ(form.focus(), button);  // backwards round the end
    // The button tabbed to shows where Enter goes: a dotted frame inside its edge.
    const Surface shown = test::composed(form);
    EXPECT_EQ(shown.get(button->absolute_left() + 4, button->absolute_top() + 4), kBlack);
    send({key_down(key::Tab, mod::Shift)});
    EXPECT_EQ(state(given), (std::tuple{"太郎", 0, 2}));
    send({typed("花子")});
    EXPECT_EQ(state(given), (std::tuple{"花子", -1, 2}));

    send({key_down(key::Home), key_down(key::Right), key_down(key::End, mod::Shift), key_down(key::Backspace)});
    EXPECT_EQ(state(given), (std::tuple{"花", -1, 1}));
    send({key_down(key::Home, mod::Shift), key_down(key::Left)});  // a plain caret key drops the selection
    EXPECT_EQ(state(given), (std::tuple{"花", -1, 0}));
    send({key_down(key::Tab, mod::Shift), key_down(key::Delete), typed("悠")});
    EXPECT_EQ(state(family), (std::tuple{"悠", -1, 1}));
    // Enter on the button tabbed to presses it.
    int clicks = 0;
    button->on_click = [&] { ++clicks; };
    send({key_down(key::Tab), key_down(key::Tab), key_down(key::Enter)});
    EXPECT_EQ(clicks, 1);
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
    send({PressControl{"Main_Form", "Option1(1)"}, PressControl{"Main_Form", "Check3"}});
    EXPECT_EQ((std::array<int, 3>{seen, other.value, check.value}), (std::array{1, 1, 1}));
    check.enabled = false;  // as for a player, nothing happens
    send({PressControl{"Main_Form", "Check3"}});
    EXPECT_EQ(check.value, 1);
}

TEST_F(HostTest, MessageBoxesAndTheExitAreTraced) {
    test::Answers& answers = test::add_answers(host);
    answers.queue_ = {MsgAnswer::No, MsgAnswer::No};
    EXPECT_EQ(host.message_box("終了しますか？", MsgButtons::YesNo), MsgAnswer::No);
    EXPECT_EQ(host.message_box("フォルダの内容が不正です.", MsgButtons::Ok), MsgAnswer::Ok);  // an OK box has no No
    EXPECT_EQ(host.message_box("終了しますか？", MsgButtons::YesNo), MsgAnswer::Yes);  // unanswered: the default
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], R"({"t":0,"ev":"msgbox","text":"終了しますか？","buttons":"yesno","answer":"no"})");
    EXPECT_TRUE(test::matches(test::Json::parse(lines[1]), R"({"buttons":"ok","answer":"ok"})")) << lines[1];
    // Ending the program traces the exit and unwinds to the caller.
    clock.sleep(42);
    EXPECT_THROW(host.end_program(1), ProgramEnd);
    EXPECT_EQ(lines.back(), R"({"t":42,"ev":"exit","code":1})");
}

}  // namespace
}  // namespace dalvo::platform
