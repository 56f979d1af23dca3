// Waiting for the player: advancing input, skip mode, choices and the menu commands.

#include <gtest/gtest.h>

#include "engine/message.h"
#include "message/message_rig.h"
#include "platform/font.h"
#include "saveload/saveload.h"

namespace dalvo::test {
namespace {

using platform::MouseButton;

std::uint32_t wait_time(MessageRig& rig) {
    const std::uint32_t t = rig.now();
    Wait_click(rig.game());
    return rig.now() - t;
}

void key_at(MessageRig& rig, std::uint32_t ms, int key) {
    rig.post_at(ms, platform::KeyDown{"Main_Form", key});
}
void press_at(MessageRig& rig, std::uint32_t ms, const std::string& control) {
    rig.post_at(ms, platform::PressControl{"Main_Form", control});
}
void menu_at(MessageRig& rig, std::uint32_t ms, const std::string& name) {
    rig.post_at(ms, platform::MenuCommand{"Main_Form", name});
}

TEST(WaitClick, AdvancesOnLeftClicksEnterAndSpaceWhileTheMarkBlinks) {
    MessageRig rig;
    std::vector<bool> blink;
    for (int t : {250, 750, 1250}) rig.at(t, [&] { blink.push_back(rig.ui().Blinker->visible); });
    rig.at(1260, [&] { EXPECT_STREQ(Message_waiting(rig.game()), "click"); });
    rig.click_at(1300, kStageX, kStageY, MouseButton::Right);
    key_at(rig, 1350, 'A');
    key_at(rig, 1400, platform::key::Enter);
    EXPECT_GE(wait_time(rig), 1400u);
    EXPECT_EQ(blink, (std::vector<bool>{false, true, false}));
    EXPECT_FALSE(rig.ui().Blinker->visible);
    EXPECT_FALSE(rig.ui().Clicker->enabled());
    EXPECT_EQ(Message_waiting(rig.game()), nullptr);

    key_at(rig, 50, platform::key::Space);
    EXPECT_GE(wait_time(rig), 50u);
    rig.click_at(50, kTextX, kTextY);
    EXPECT_GE(wait_time(rig), 50u);
    rig.ui().Doll_Disp[0]->move(100, 100, 50, 50);
    rig.ui().Doll_Disp[0]->visible = true;
    rig.click_at(50, 120, 120);
    EXPECT_GE(wait_time(rig), 50u);
}

// Choice group 7: two options whose targets are records 40 and 50.
void two_options(MessageRig& rig) {
    EngineState& g = rig.g();
    g.g_SctTable[0] = {5, "前", 10};
    g.g_SctTable[1] = {7, " はい ", 40};
    g.g_SctTable[2] = {7, "いいえ、ちがいます", 50};
    g.g_SctTable[3] = {9, "後", 60};
    g.g_SctMax = g.g_SctLast = 3;
    g.g_CurScene = 7;
    g.g_Text = "2";
}

TEST(Choice, ShowsEqualBoxesHighlightsAndTakesThePickAfterASecond) {
    MessageRig rig;
    MainForm& ui = rig.ui();
    rig.g().g_MsgSpeed = 0;
    for (int i = 0; i < 5; ++i) rig.say(2, "あ");
    two_options(rig);
    // 64 one-pixel scroll steps come first; a press before the boxes show finds nothing.
    press_at(rig, 10, "SelTxt(0)");
    rig.at(710, [&] {
        EXPECT_STREQ(Message_waiting(rig.game()), "choice");
        const int wide = platform::text_width(ui.TxtFrame1[1]->font, "いいえ、ちがいます");
        EXPECT_EQ(ui.SelBox[0]->width, wide);
        EXPECT_EQ(ui.SelBox[1]->width, wide);
        EXPECT_TRUE(ui.SelBox[1]->visible);
        EXPECT_FALSE(ui.SelBox[2]->visible);
        EXPECT_EQ(ui.SelTxt[0]->caption, "はい");
        EXPECT_FALSE(ui.menu("speedup").enabled);
    });
    menu_at(rig, 720, "prog_save");
    rig.at(730, [&] { EXPECT_EQ(File_Window_waiting(rig.game()), nullptr) << "no saving in a choice"; });
    rig.post_at(750, platform::HoverControl{"Main_Form", "SelTxt(1)"});
    rig.at(800, [&] {
        EXPECT_EQ(ui.SelTxt[1]->fore_color, 0x8080FFu);
        EXPECT_EQ(ui.SelTxt[0]->fore_color, platform::kWhite);
    });
    press_at(rig, 850, "SelTxt(1)");
    rig.at(900, [&] { EXPECT_EQ(ui.SelTxt[1]->fore_color, 0x0000FFu); });

    EXPECT_EQ(Select_disp(rig.game()), 1);
    EXPECT_GE(rig.now(), 1900u);
    EXPECT_EQ(rig.g().g_ScriptPos, 50);
    ASSERT_EQ(rig.waves.size(), 1u);
    EXPECT_NE(rig.waves[0].find("\"n\":2"), std::string::npos);
    EXPECT_EQ(rig.w().LastSpeaker, 0);
    EXPECT_FALSE(ui.SelBox[1]->visible);
    for (const char* name : {"prog_load", "prog_save", "speedup"}) EXPECT_TRUE(ui.menu(name).enabled);

    // The hover stays frozen until a message is drawn again; effects off, no sound.
    two_options(rig);
    rig.g().g_SeOn = kFalse;
    rig.post_at(100, platform::HoverControl{"Main_Form", "SelTxt(0)"});
    rig.at(150, [&] { EXPECT_EQ(ui.SelTxt[0]->fore_color, platform::kWhite); });
    press_at(rig, 1000, "SelTxt(0)");
    Select_disp(rig.game());
    EXPECT_EQ(rig.g().g_ScriptPos, 40);
    EXPECT_EQ(rig.waves.size(), 1u);
}

TEST(Choice, MoreOptionsThanTheWindowOrTheGroupHoldEndTheGame) {
    for (const char* count : {"4", "3"}) {
        MessageRig rig;
        two_options(rig);
        rig.g().g_Text = count;
        EXPECT_EQ(rig.until_end([&] { Select_disp(rig.game()); }), 1);
        ASSERT_EQ(rig.msgboxes.size(), 1u);
        EXPECT_NE(rig.msgboxes[0].find("scene 7"), std::string::npos) << rig.msgboxes[0];
    }
}

TEST(Skip, EndsTheWaitRunsToTheNextChoiceAndStopsThere) {
    MessageRig rig;
    menu_at(rig, 100, "speedup");
    rig.say(2, "あ");
    EXPECT_LT(rig.now(), 200u);
    EXPECT_EQ(rig.g().g_MsgSpeed, 0);
    EXPECT_EQ(rig.ui().menu("speedup").caption, "次の選択まで[Stop]");
    const std::uint32_t t = rig.now();
    for (int i = 0; i < 8; ++i) rig.say(i % 3 + 2, "いろはにほへと");
    EXPECT_EQ(rig.now(), t);

    two_options(rig);
    press_at(rig, 800, "SelTxt(0)");
    Select_disp(rig.game());
    EXPECT_EQ(rig.g().g_MsgSpeed, 1);
    EXPECT_EQ(rig.ui().menu("speedup").caption, "次の選択まで[Skip]");

    rig.g().g_MsgSpeed = 0;
    History_open(rig.game());
    EXPECT_EQ(rig.g().g_MsgSpeed, 1) << "a look at the history ends skipping";
}

TEST(Menu, SaveOnlyDuringAClickWaitAndQuitOnlyOnYes) {
    MessageRig rig;
    menu_at(rig, 0, "prog_save");
    rig.game().p.host.wait_until([&] { return rig.now() >= 20; }, 10);
    EXPECT_EQ(rig.g().g_FileMode, 0) << "no click wait: an effect runs";
    menu_at(rig, 10, "prog_save");
    rig.at(30, [&] {
        EXPECT_STREQ(File_Window_waiting(rig.game()), "dialog");
        rig.game().p.host.post(platform::CloseRequest{"File_Window"});
    });
    rig.click_at(1000, kStageX, kStageY);  // the closed dialog gives the window back
    Wait_click(rig.game());
    EXPECT_EQ(File_Window_waiting(rig.game()), nullptr);

    rig.at(0, [&] { rig.game().p.host.set_next_answer(platform::MsgAnswer::No); });
    menu_at(rig, 10, "prog_end");
    rig.click_at(50, kStageX, kStageY);
    EXPECT_EQ(rig.until_end([&] { Wait_click(rig.game()); }), -1);
    menu_at(rig, 10, "prog_end");
    EXPECT_EQ(rig.until_end([&] { Wait_click(rig.game()); }), 0);
    ASSERT_EQ(rig.msgboxes.size(), 2u);
    EXPECT_NE(rig.msgboxes[1].find("終了しますか？"), std::string::npos);
}

}  // namespace
}  // namespace dalvo::test
