// Waiting for the player: advancing input, skip mode, choices and the menu commands.

#include <gtest/gtest.h>

#include "engine/message.h"
#include "message/message_rig.h"
#include "platform/gfx/font.h"
#include "platform/pacing.h"
#include "saveload/saveload.h"
#include "support/answers.h"

namespace dalvo::test {
namespace {

using platform::KeyDown, platform::MenuCommand, platform::MouseButton, platform::PressControl;

std::uint32_t wait_time(MessageRig& rig) {
    const std::uint32_t t = rig.now();
    Wait_click(rig.game());
    return rig.now() - t;
}

// The mark's 8 x 8 square on the screen: 1 all white, 0 all black, -1 anything else.
int mark_on_screen(MessageRig& rig) {
    const platform::Surface shown = rig.screen();
    int white = 0;
    for (int y = 453; y < 461; ++y) {
        for (int x = 601; x < 609; ++x) white += shown.get(x, y) == platform::kWhite ? 1 : 0;
    }
    return white == 64 ? 1 : white == 0 ? 0 : -1;
}

TEST(WaitClick, AdvancesOnLeftClicksEnterAndSpaceWhileTheMarkBlinks) {
    MessageRig rig;
    rig.clear_trace();
    std::vector<int> blink;
    for (int t : {250, 750, 1250}) rig.at(t, [&] { blink.push_back(mark_on_screen(rig)); });
    rig.at(1260, [&] { EXPECT_STREQ(Message_waiting(rig.game()), "click"); });
    rig.click_at(1300, kStageX, kStageY, MouseButton::Right);
    rig.post_at(1350, KeyDown{"Main_Form", 'A'});
    rig.post_at(1400, KeyDown{"Main_Form", platform::key::Enter});
    const std::uint32_t start = rig.now();
    EXPECT_GE(wait_time(rig), 1400u);
    // The mark shows on the black text area and blinks there, one present each half second.
    EXPECT_EQ(blink, (std::vector<int>{0, 1, 0}));
    std::vector<std::uint32_t> blinks = rig.times("present", R"({"form":"Main_Form","rect":[601,453,8,8]})");
    for (std::uint32_t& t : blinks) t -= start;
    EXPECT_EQ(blinks, (std::vector<std::uint32_t>{500, 1000}));
    EXPECT_FALSE(rig.ui().Clicker->enabled());

    rig.post_at(50, KeyDown{"Main_Form", platform::key::Space});
    EXPECT_GE(wait_time(rig), 50u);
    rig.ui().Doll_Disp[0]->move(100, 100, 50, 50);
    rig.ui().Doll_Disp[0]->visible = true;
    rig.click_at(50, 120, 120);
    EXPECT_GE(wait_time(rig), 50u);
}

// Choice group 7: two options whose targets are records 40 and 50.
void two_options(MessageRig& rig) {
    rig.offer({{5, "前", 10}, {7, " はい ", 40}, {7, "いいえ、ちがいます", 50}, {9, "後", 60}}, 7, "2");
}

TEST(Choice, ShowsEqualBoxesHighlightsAndTakesThePickAfterASecond) {
    MessageRig rig;
    MainForm& ui = rig.ui();
    rig.g().g_MsgSpeed = 0;
    for (int i = 0; i < 5; ++i) rig.say(2, "あ");
    two_options(rig);
    // 64 one-pixel scroll steps come first; a press before the boxes show finds nothing.
    rig.post_at(10, PressControl{"Main_Form", "SelTxt(0)"});
    rig.at(710, [&] {
        EXPECT_STREQ(Message_waiting(rig.game()), "choice");
        const int wide = platform::text_width(ui.TxtFrame1[1]->font, "いいえ、ちがいます");
        EXPECT_EQ((std::pair<int, int>(ui.SelBox[0]->width, ui.SelBox[1]->width)), std::pair(wide, wide));
        EXPECT_FALSE(ui.SelBox[2]->visible);
        EXPECT_EQ(ui.SelTxt[0]->caption, "はい");
        EXPECT_FALSE(ui.menu("speedup").enabled());
    });
    rig.post_at(720, MenuCommand{"Main_Form", "prog_save"});
    rig.at(730, [&] { EXPECT_EQ(File_Window_waiting(rig.game()), nullptr) << "no saving in a choice"; });
    // Its highlight is pinned by the choice screenshot.
    rig.post_at(750, platform::HoverControl{"Main_Form", "SelTxt(1)"});
    rig.post_at(850, PressControl{"Main_Form", "SelTxt(1)"});
    rig.at(900, [&] { EXPECT_EQ(ui.SelTxt[1]->fore_color, platform::Color{0x0000FF}); });

    EXPECT_EQ(Select_disp(rig.game()), 1);
    EXPECT_GE(rig.now(), 1900u);
    EXPECT_EQ(rig.g().g_ScriptPos, 50);
    ASSERT_EQ(rig.events("wave").size(), 1u);
    EXPECT_EQ(rig.events("wave")[0]["n"].num(), 2);
    EXPECT_FALSE(ui.SelBox[1]->visible);
    for (const char* name : {"prog_load", "prog_save", "speedup"}) EXPECT_TRUE(ui.menu(name).enabled());

    // The hover stays frozen until a message is drawn again; effects off, no sound. Three
    // options of group 7 take the entry of group 9 after it as the third.
    two_options(rig);
    rig.g().g_Text = "3";
    rig.g().g_SeOn = kFalse;
    rig.post_at(100, platform::HoverControl{"Main_Form", "SelTxt(0)"});
    rig.at(150, [&] { EXPECT_EQ(ui.SelTxt[0]->fore_color, platform::kWhite); });
    rig.at(900, [&] {
        EXPECT_TRUE(ui.SelBox[2]->visible);
        EXPECT_EQ(ui.SelTxt[2]->caption, "後");
    });
    rig.post_at(1000, PressControl{"Main_Form", "SelTxt(2)"});
    EXPECT_EQ(Select_disp(rig.game()), 1);
    EXPECT_EQ(rig.g().g_ScriptPos, 60);
    EXPECT_EQ(rig.events("wave").size(), 1u);
    EXPECT_TRUE(rig.messages().empty());
}

TEST(Choice, MoreOptionsThanTheWindowHoldsOrPastTheTableEndTheGame) {
    for (auto [group, count] : {std::pair{7, "4"}, std::pair{9, "2"}}) {
        MessageRig bad;
        two_options(bad);
        bad.g().g_CurScene = static_cast<std::int16_t>(group);
        bad.g().g_Text = count;
        EXPECT_EQ(bad.until_end([&] { Select_disp(bad.game()); }), 1);
        ASSERT_EQ(bad.messages().size(), 1u);
        EXPECT_NE(bad.messages()[0].find("(場面 " + std::to_string(group) + "): 選択肢の指定が不正です"),
                  std::string::npos)
            << bad.messages()[0];
    }
}

TEST(Skip, EndsTheWaitRunsToTheNextChoiceAndStopsThere) {
    MessageRig rig;
    rig.post_at(100, MenuCommand{"Main_Form", "speedup"});
    rig.say(2, "あ");
    EXPECT_LT(rig.now(), 200u);
    EXPECT_EQ(rig.g().g_MsgSpeed, 0);
    EXPECT_EQ(rig.ui().menu("speedup").caption(), "次の選択まで[Stop]");
    const std::uint32_t t = rig.now();
    for (int i = 0; i < 8; ++i) rig.say(i % 3 + 2, "いろはにほへと");
    EXPECT_EQ(rig.now(), t);

    two_options(rig);
    rig.post_at(800, PressControl{"Main_Form", "SelTxt(0)"});
    Select_disp(rig.game());
    EXPECT_EQ(rig.g().g_MsgSpeed, 1);
    EXPECT_EQ(rig.ui().menu("speedup").caption(), "次の選択まで[Skip]");

    rig.g().g_MsgSpeed = 0;
    History_open(rig.game());
    EXPECT_EQ(rig.g().g_MsgSpeed, 1) << "a look at the history ends skipping";
}

TEST(Menu, SaveOnlyDuringAClickWaitAndQuitOnlyOnYes) {
    MessageRig rig;
    rig.post_at(0, MenuCommand{"Main_Form", "prog_save"});
    platform::wait_until(rig.game().p.host, [&] { return rig.now() >= 20; }, 10);
    EXPECT_EQ(rig.g().g_FileMode, 0) << "no click wait: an effect runs";
    rig.post_at(10, MenuCommand{"Main_Form", "prog_save"});
    rig.at(30, [&] {
        EXPECT_STREQ(File_Window_waiting(rig.game()), "dialog");
        rig.game().p.host.post(platform::CloseRequest{"File_Window"});
    });
    rig.click_at(1000, kStageX, kStageY);  // the closed dialog gives the window back
    Wait_click(rig.game());
    EXPECT_EQ(File_Window_waiting(rig.game()), nullptr);

    test::Answers& answers = test::add_answers(rig.game().p.host);
    rig.at(0, [&] { answers.queue_.push_back(platform::MsgAnswer::No); });
    rig.post_at(10, MenuCommand{"Main_Form", "prog_end"});
    rig.click_at(50, kStageX, kStageY);
    EXPECT_EQ(rig.until_end([&] { Wait_click(rig.game()); }), -1);
    rig.post_at(10, MenuCommand{"Main_Form", "prog_end"});
    EXPECT_EQ(rig.until_end([&] { Wait_click(rig.game()); }), 0);
    ASSERT_EQ(rig.messages().size(), 2u);
    EXPECT_NE(rig.messages()[1].find("終了しますか？"), std::string::npos);
}

}  // namespace
}  // namespace dalvo::test
