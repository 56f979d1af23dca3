// The player's controls over the message window: skipping read text while Ctrl is held
// or after Tab, the keys over a choice, auto mode, the settings. The wheel and hiding the
// window are played through an input script in the story tests.

#include <gtest/gtest.h>

#include <tuple>

#include "engine/message.h"
#include "message/message_rig.h"
#include "platform/ui/player_control.h"

namespace dalvo::test {
namespace {

using platform::KeyDown, platform::KeyUp, platform::Wheel, platform::MouseButton;
constexpr int kCtrl = 17;

// Shows the message of `record` on an empty window (no scroll before it) and returns
// how long it took, its typing and its wait.
std::uint32_t say_at(MessageRig& rig, std::int32_t record, const std::string& text = "あいう") {
    Msg_clear(rig.game());
    rig.g().g_ScriptPos = record;
    const std::uint32_t t = rig.now();
    rig.say(2, text);
    return rig.now() - t;
}

// The same with a click 100 ms in, which an unread message waits for.
std::uint32_t clicked_at(MessageRig& rig, std::int32_t record) {
    rig.click_at(100, kStageX, kStageY);
    return say_at(rig, record);
}

// The wait ended by input that came `ms` after the message began (its typing took less).
::testing::AssertionResult ended_at(std::uint32_t took, std::uint32_t ms) {
    if (took >= ms && took < ms + 20) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the message stood " << took << " ms, not " << ms;
}

TEST(Controls, SkipGoesOverReadTextOnlyAndStopsAtTheFirstUnreadMessage) {
    MessageRig rig;
    EXPECT_TRUE(rig.dump()["controls"].is_null()) << "the dump shows the controls only once used";
    for (int record : {10, 11}) EXPECT_GE(clicked_at(rig, record), 100u);
    // Ctrl held: the read records go by with no wait and no typing, the unread one stops.
    rig.send(KeyDown{"Main_Form", kCtrl});
    EXPECT_EQ(say_at(rig, 10), 0u);
    EXPECT_EQ(say_at(rig, 11), 0u);
    EXPECT_GE(clicked_at(rig, 12), 100u) << "unread text waits for the player, Ctrl or not";
    EXPECT_TRUE(holds(rig.dump()["controls"], R"({"skip_held":true,"skip_on":false})"));
    rig.send(KeyUp{"Main_Form", kCtrl});
    EXPECT_GE(clicked_at(rig, 10), 100u) << "released: reading again";

    // Ctrl pressed while a read message types out ends its wait as it begins; during the
    // wait of an unread one, nothing.
    for (int record : {11, 13}) {
        rig.post_at(record == 11 ? 20 : 100, KeyDown{"Main_Form", kCtrl});
        rig.post_at(150, KeyUp{"Main_Form", kCtrl});
        if (record == 13) rig.click_at(300, kStageX, kStageY);
        const std::uint32_t took = say_at(rig, record);
        EXPECT_TRUE(record == 11 ? took < 100 : ended_at(took, 300)) << record << ": " << took;
    }

    // Tab: on until the first unread message, which turns it off.
    rig.send(KeyDown{"Main_Form", platform::key::Tab});
    EXPECT_EQ(say_at(rig, 12), 0u);
    EXPECT_GE(clicked_at(rig, 14), 100u);
    EXPECT_GE(clicked_at(rig, 10), 100u) << "Tab's skipping ended at the unread message";

    // The settings: the menu's skip stops at unread text too; Ctrl skips everything.
    PlayerSettings& settings = rig.game().controls.settings;
    settings.menu_skip_read_only = true;
    rig.send(platform::MenuCommand{"Main_Form", "speedup"});
    EXPECT_EQ(say_at(rig, 10), 0u);
    EXPECT_GE(clicked_at(rig, 15), 100u);
    EXPECT_EQ(rig.ui().menu("speedup").caption(), "次の選択まで[Skip]") << "skipping ended there";
    settings.skip_all_text = true;
    rig.send(KeyDown{"Main_Form", kCtrl});
    EXPECT_EQ(say_at(rig, 16), 0u);
    rig.send(KeyUp{"Main_Form", kCtrl});

    // Over the title (the name entry's Tab moves the focus) the keys are the title's.
    rig.ui().Title->visible = true;
    rig.send(KeyDown{"Main_Form", platform::key::Tab});
    EXPECT_TRUE(holds(rig.dump()["controls"], R"({"skip_on":false})"));
}

TEST(Controls, KeysWalkAChoiceAsTheMouseDoesAndEnterPicks) {
    MessageRig rig;
    MainForm& ui = rig.ui();
    rig.g().g_MsgSpeed = 0;
    rig.say(2, "あ");
    rig.offer({{5, "前", 10}, {7, "はい", 40}, {7, "いいえ", 50}, {9, "後", 60}}, 7, "2");
    std::vector<std::pair<platform::Color, platform::Color>> colours;
    const auto look = [&] { colours.emplace_back(ui.SelTxt[0]->fore_color, ui.SelTxt[1]->fore_color); };
    // Up from nothing: the last option; Down wraps to the first; "3": no third option, nothing moves.
    for (const auto& [ms, key] : {std::pair{700u, platform::key::Up}, {800u, platform::key::Down}, {900u, int{'2'}},
                                  {1000u, int{'3'}}}) {
        rig.post_at(ms, KeyDown{"Main_Form", key});
        rig.at(ms + 50, look);
    }
    rig.post_at(1100, KeyDown{"Main_Form", platform::key::Enter});
    EXPECT_EQ(Select_disp(rig.game()), 1);
    EXPECT_GE(rig.now(), 2100u) << "the pick's second as for the mouse";
    EXPECT_EQ(rig.g().g_ScriptPos, 50);
    EXPECT_EQ(rig.events("wave").size(), 1u) << "the pick's sound";
    const platform::Color white = platform::kWhite, hover = platform::Color{0x8080FF};
    EXPECT_EQ(colours, (std::vector<std::pair<platform::Color, platform::Color>>{
                           {white, hover}, {hover, white}, {white, hover}, {white, hover}}));
}

TEST(Controls, AutoModeGoesOnAfterTheMessagesTimeAndShowsItsMarkMeanwhile) {
    MessageRig rig;
    const platform::Control& mark = *rig.game().controls.auto_mark;
    rig.post_at(100, KeyDown{"Main_Form", 'A'});
    rig.at(150, [&] { EXPECT_TRUE(mark.visible); });
    // Turned on during the wait, the count starts then: 1 s and 60 ms for each of 3 characters.
    EXPECT_TRUE(ended_at(say_at(rig, 1), 100 + 1180));
    const std::uint32_t t = rig.now();
    rig.say(2, "あいうえお");
    EXPECT_GE(rig.now() - t, 1300u);
    EXPECT_TRUE(ended_at(clicked_at(rig, 2), 100)) << "a click goes on at once";
    rig.post_at(100, platform::MouseDown{"Main_Form", kTextX, kTextY, MouseButton::Right});
    rig.post_at(5000, KeyDown{"Main_Form", 'A'});
    rig.post_at(5100, Wheel{"Main_Form", -1});  // closes the history
    rig.click_at(5200, kStageX, kStageY);
    EXPECT_TRUE(ended_at(say_at(rig, 3), 5200)) << "no auto advance over the history; off again at 5 s";
    EXPECT_FALSE(mark.visible);
}

TEST(Controls, SettingsKeepWhatTheyCanUseAndNameEachLineTheyCannot) {
    PlayerSettings s;
    std::string problems;
    parse_settings("; mine\n[controls]\nauto_base_ms = 500\nauto_char_ms=70000\nskip_all_text = yes\n"
                   "fast = 1\n[window\nstart_fullscreen = true\nsmooth_scaling\n",
                   "settings.ini", s, problems);
    EXPECT_EQ((std::tuple{s.auto_base_ms, s.auto_char_ms, s.skip_all_text, s.start_fullscreen}),
              (std::tuple{500u, 60u, true, false}));
    EXPECT_EQ(problems,
              "settings.ini:4: expected milliseconds, 0 to 60000\n"
              "settings.ini:6: unknown setting \"fast\" in [controls]\n"
              "settings.ini:7: a section name ends with ]\n"
              "settings.ini:8: unknown setting \"start_fullscreen\" in [controls]\n"
              "settings.ini:9: expected key = value\n");
}

}  // namespace
}  // namespace dalvo::test
