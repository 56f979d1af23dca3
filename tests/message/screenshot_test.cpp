// The game window with its message windows up, pinned by screenshots; what the history
// holds back while it is up.

#include <gtest/gtest.h>

#include "engine/message.h"
#include "message/message_rig.h"
#include "platform/ui/form.h"
#include "support/picture_check.h"

namespace dalvo::test {
namespace {

// Checks the game window `ms` from now, inside the wait that runs then; counts the checks
// so that a wait that never came cannot pass unseen.
void shoot_at(MessageRig& rig, std::uint32_t ms, std::uint64_t hash, const std::string& name, int& shots) {
    rig.at(ms, [&rig, hash, name, &shots] {
        expect_picture(composed(rig.ui().form), hash, name, PictureCheck("message"));
        ++shots;
    });
}

TEST(Screenshot, FullMessageWindowThenTheHistory) {
    MessageRig rig;
    int shots = 0;
    // Five speakers in the line-at-a-time mode, each waiting for a click.
    rig.g().g_MsgSpeed = 1;
    for (int i = 0; i < 5; ++i) {
        if (i == 4) shoot_at(rig, 100, 0x6d55ac59f9137c2aull, "message_full", shots);
        rig.click_at(200, kStageX, kStageY);
        rig.say(i + 1, std::string("はじめまして、").append(static_cast<std::size_t>(i) * 3, 'a').append("です。"));
    }
    // Nine lines for the history, with a nameless line and a continuation among them.
    rig.g().g_MsgSpeed = 0;
    for (int i = 0; i < 3; ++i) rig.say(6 - i, "つづき");
    rig.g().g_MsgSpeed = 1;
    rig.click_at(100, kTextX, kTextY, platform::MouseButton::Right);
    shoot_at(rig, 150, 0x6429fa42e99eb57aull, "history", shots);
    rig.at(150, [&] {
        EXPECT_FALSE(rig.ui().TxtFrame1[0]->visible);
        EXPECT_FALSE(rig.ui().menu("opt_menu").enabled());
    });
    // The stage, its keys and the history's own left button leave the script where it is.
    rig.click_at(200, kStageX, kStageY);
    rig.post_at(250, platform::KeyDown{"Main_Form", platform::key::Enter});
    rig.click_at(300, kHistoryX, kHistoryY);
    rig.click_at(400, kHistoryX, kHistoryY, platform::MouseButton::Right);
    rig.click_at(500, kStageX, kStageY);
    rig.say(2, "もう一度");
    EXPECT_EQ(shots, 2);
    EXPECT_GE(rig.now(), 500u);
    EXPECT_EQ(rig.w().LogView, kFalse);
    EXPECT_TRUE(rig.ui().menu("opt_menu").enabled());
    // A tenth line pushes out the oldest.
    rig.g().g_MsgSpeed = 0;
    rig.say(1, "あ");
    EXPECT_EQ(rig.w().LogText[1], "航　：はじめまして、aaaです。");
}

TEST(Screenshot, OpenChoiceWithTheHoveredOption) {
    MessageRig rig;
    int shots = 0;
    rig.g().g_MsgSpeed = 0;
    rig.say(3, "どうしよう？");
    rig.offer({{7, "海へ行く", 40}, {7, "駅で待つ", 50}}, 7, "2");
    rig.post_at(750, platform::HoverControl{"Main_Form", "SelTxt(1)"});
    shoot_at(rig, 800, 0x7e8f9285f6b2b7d3ull, "choice_hover", shots);
    rig.post_at(850, platform::PressControl{"Main_Form", "SelTxt(1)"});
    EXPECT_EQ(Select_disp(rig.game()), 1);
    EXPECT_EQ(shots, 1);
}

}  // namespace
}  // namespace dalvo::test
