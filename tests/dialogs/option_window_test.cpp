// The options dialog driven through the host: what OK applies, what Cancel drops.

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "dialogs/dialog_rig.h"
#include "dialogs/dialogs.h"
#include "dialogs/option_window.h"
#include "engine/message.h"
#include "sound/sound.h"

namespace dalvo::test {
namespace {

constexpr const char* kForm = "Option_Window";

OptionWindow& dialog(DialogRig& rig) { return *rig.game().dialogs.option; }

// Opens the dialog and presses `controls` on it in turn.
void choose(DialogRig& rig, std::initializer_list<const char*> controls) {
    Option_open(rig.game());
    for (const char* c : controls) rig.press(kForm, c);
}

TEST(OptionWindow, LoadsFromTheEngineStateOverTheDisabledGameWindow) {
    DialogRig rig;
    Option_open(rig.game());
    expect_picture(composed(dialog(rig).form), 0xfe8e6f0dabbe10b4ull, "option_window");
    rig.press(kForm, "Command2");
    rig.g().g_MsgSpeed = 2;
    rig.g().g_BgmOn = kTrue;
    rig.g().g_SeOn = kFalse;
    rig.g().g_MixerOk = kFalse;
    Option_open(rig.game());
    OptionWindow& d = dialog(rig);
    EXPECT_EQ((std::array<int, 3>{d.Option3->value, d.Check1->value, d.Check2->value}), (std::array{1, 1, 0}));
    EXPECT_FALSE(rig.game().ui.form.enabled);

    // The disabled game window ignores the player; the dialog's close box is a Cancel.
    rig.send(platform::MenuCommand{"Main_Form", "vvrr"});
    EXPECT_FALSE(About_is_open(rig.game()));
    rig.send(platform::CloseRequest{kForm});
    EXPECT_FALSE(Option_is_open(rig.game()));
    EXPECT_TRUE(rig.game().ui.form.enabled);
}

TEST(OptionWindow, OkSwitchesMusicAndEffectsOnFirstThenOffForEachClearedBox) {
    DialogRig rig;
    ASSERT_NE(BGM_play(rig.game(), music_path(rig.game(), 1)), -1);
    rig.game().sound.g_BgmNo = 1;  // as the sound command leaves it
    ASSERT_EQ(rig.game().p.music.peek().mode, "playing");

    // Both off when the dialog opens; ticking one box switches that one on.
    rig.g().g_BgmOn = kFalse;
    rig.g().g_SeOn = kFalse;
    choose(rig, {"Check2", "Command1"});
    EXPECT_EQ((std::tuple{rig.g().g_BgmOn, rig.g().g_SeOn, rig.g().g_Flags[3], rig.g().g_Flags[4]}),
              (std::tuple{kFalse, kTrue, "False", "True"}));
    EXPECT_NE(rig.game().p.music.peek().mode, "playing");  // clearing music stops it

    // Both ticked: an error that switched them off meanwhile does not stick.
    rig.g().g_BgmOn = kTrue;
    Option_open(rig.game());
    rig.g().g_BgmOn = kFalse;
    rig.g().g_SeOn = kFalse;
    rig.press(kForm, "Command1");
    EXPECT_EQ((std::tuple{rig.g().g_BgmOn, rig.g().g_SeOn, rig.g().g_Flags[3]}), (std::tuple{kTrue, kTrue, "True"}));
}

TEST(OptionWindow, EachModeSetsTheSpeedTheClickWaitAndTheSkipCaption) {
    DialogRig rig;
    struct Case {
        const char *option;
        std::int16_t speed, wait_click;
        const char *flag, *caption;
    };
    const Case cases[] = {{"Option2", 1, kTrue, " 1", "次の選択まで[Skip]"},
                          {"Option1", 0, kFalse, " 0", "次の選択まで[Stop]"},
                          {"Option3", 2, kTrue, " 2", "次の選択まで[Skip]"},
                          {"Option4", 3, kTrue, " 3", "次の選択まで[Skip]"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        rig.g().g_WaitClick = c.wait_click == kTrue ? kFalse : kTrue;
        choose(rig, {c.option, "Command1"});
        EXPECT_EQ((std::tuple{rig.g().g_MsgSpeed, rig.g().g_WaitClick, rig.g().g_Flags[5]}),
                  (std::tuple{c.speed, c.wait_click, std::string(c.flag)}));
        EXPECT_EQ(rig.game().ui.menu("speedup").caption(), c.caption);
    }

    // Cancel (Escape) drops every choice; Enter is OK.
    choose(rig, {"Option1", "Check1"});
    rig.key(platform::key::Escape);
    EXPECT_EQ(rig.g().g_MsgSpeed, 3);
    EXPECT_EQ(rig.g().g_BgmOn, kTrue);
    choose(rig, {"Option2"});
    rig.key(platform::key::Enter);
    EXPECT_FALSE(Option_is_open(rig.game()));
    EXPECT_EQ(rig.g().g_MsgSpeed, 1);
}

// The menu opens the dialog from inside a click wait and then waits for a click itself;
// choosing skip releases both waits at once.
TEST(OptionWindow, SkipChosenFromTheMenuReleasesThePendingClickWait) {
    DialogRig rig;
    rig.schedule();  // a wait that is never released fails the test instead of hanging it
    rig.host().post(platform::MenuCommand{"Main_Form", "opt_menu"});
    rig.host().post(platform::PressControl{kForm, "Option1"});
    rig.host().post(platform::PressControl{kForm, "Command1"});
    const std::uint32_t start = rig.now();
    Wait_click(rig.game());
    EXPECT_LT(rig.now() - start, 100u);
    EXPECT_EQ(rig.g().g_MsgSpeed, 0);
    EXPECT_FALSE(Option_is_open(rig.game()));
}

TEST(OptionWindow, FadeBoxOpensTheMixerOnceAndClearingItLeavesTheLevel) {
    DialogRig rig;
    Game& game = rig.game();
    choose(rig, {"Check3", "Command1"});
    EXPECT_EQ(rig.g().g_MixerOk, kTrue);
    EXPECT_EQ(game.sound.g_VolSaved, 65535);
    ASSERT_EQ(rig.events("mixer").size(), 1u);

    ASSERT_TRUE(Vol_set(game, 1000));
    const std::size_t levels = rig.events("level").size();
    choose(rig, {"Check3", "Command1"});
    EXPECT_EQ(rig.g().g_MixerOk, kFalse);
    ASSERT_EQ(rig.events("mixer").size(), 2u);
    EXPECT_EQ(rig.events("mixer")[1]["op"].str(), "close");
    EXPECT_EQ(rig.events("level").size(), levels);
    std::uint32_t level = 0;
    ASSERT_TRUE(game.p.master.get(level));
    EXPECT_EQ(level, 1000u);
}

TEST(OptionWindow, MixerFailureLeavesTheFadesOffAndSavesMusicAndEffectsOff) {
    DialogRig rig(/*mixer_fails=*/true);
    choose(rig, {"Option3", "Check3", "Command1"});
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"Mixer open error.", "mixer open error."}));
    EXPECT_EQ((std::tuple{rig.g().g_MixerOk, rig.g().g_BgmOn, rig.g().g_SeOn, rig.g().g_Flags[3], rig.g().g_Flags[4]}),
              (std::tuple{kFalse, kFalse, kFalse, "False", "False"}));
}

}  // namespace
}  // namespace dalvo::test
