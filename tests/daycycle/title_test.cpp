// The title screen and the name entry: the start of every game.

#include <gtest/gtest.h>

#include "daycycle/title.h"
#include "engine/dump.h"
#include "support/game_rig.h"
#include "support/picture_check.h"

namespace dalvo::test {
namespace {

using platform::InputEvent;

// Thrown from a timer to leave the game once it waits for the first click.
struct ReachedClickWait {};

// One headless game on a fixture folder, fed input one event at a time.
class TitleRig : public GameRig {
public:
    TitleRig() {
        install_automation(game());
        host().add_timer("player", 1, [this] {
            // The script, once started, is left at its first click wait.
            if (waiting() == "click") throw ReachedClickWait{};
            // The load dialog is closed without loading as soon as it waits.
            if (waiting() == "dialog" && host().find_form("File_Window")) {
                host().post(platform::CloseRequest{"File_Window"});
            }
        }).set_enabled(true, now());
    }

    std::string waiting() { return waiting_for(game()); }
    // Each returns the exit code when the program ended, kAtClickWait when the script
    // reached its first click wait, else -1.
    int load() {
        const int code = GameRig::load();
        game().title.loaded = true;
        return code;
    }
    int serve(InputEvent event) {
        try {
            return until_end([&] { send(std::move(event)); });
        } catch (const ReachedClickWait&) {
            return 0x100;
        }
    }
    int press(const std::string& control) { return serve(platform::PressControl{"Main_Form", control}); }
    int key(int code) { return serve(platform::KeyDown{"Main_Form", code}); }
    int type(const std::string& text) { return serve(platform::TextInput{"Main_Form", text}); }
    platform::Surface screen() { return composed(ui().form); }
};

constexpr int kAtClickWait = 0x100;

TEST(Title, HoverHighlightsAndContinueCancelledKeepsTheTitle) {
    TitleRig rig;
    ASSERT_EQ(rig.load(), -1);
    Game& game = rig.game();
    rig.serve(platform::HoverControl{"Main_Form", "Label2"});
    EXPECT_EQ(rig.ui().Label2->fore_color, platform::Color{0x0000FF});
    EXPECT_EQ(rig.ui().Label1->fore_color, platform::kBlack);
    // Leaving both labels for the bare title resets nothing.
    rig.serve(platform::MouseMove{"Main_Form", 500, 100});
    EXPECT_EQ(rig.ui().Label2->fore_color, platform::Color{0x0000FF});
    game.g.g_Running = kTrue;
    game.g.g_SeOn = kFalse;
    ASSERT_EQ(rig.press("Label2"), -1);
    EXPECT_EQ(game.g.g_Running, 0);
    EXPECT_EQ(rig.host().find_form("File_Window"), nullptr);
    EXPECT_EQ(rig.waiting(), "title");
    // With sound effects off the label is silent; with them on it plays effect 2.
    EXPECT_TRUE(rig.events("wave").empty());
    game.g.g_SeOn = kTrue;
    ASSERT_EQ(rig.press("Label2"), -1);
    EXPECT_EQ(rig.first(R"({"ev":"wave"})")["n"].num(), 2);
}

TEST(Title, ShowsItsPictureThenNewGameOpensTheNameEntryAndStartsTheScript) {
    TitleRig rig;
    // The first picture on the screen is the whole title, where the window stays.
    std::vector<int> first_seen;
    rig.on_trace = [&](const Json& e) {
        if (!first_seen.empty() || !matches(e, R"({"ev":"present","form":"Main_Form"})")) return;
        first_seen = {rig.ui().Title->visible ? 1 : 0, rig.ui().form.left, rig.ui().form.top};
    };
    ASSERT_EQ(rig.load(), -1);
    EXPECT_EQ(first_seen, (std::vector<int>{1, rig.ui().form.left, rig.ui().form.top}));
    EXPECT_EQ(rig.waiting(), "title");
    EXPECT_FALSE(rig.ui().menu("prog_save").enabled());
    ASSERT_NE(rig.ui().Label1->cursor, nullptr);
    // Nothing runs until the player acts.
    EXPECT_EQ(rig.game().g.g_ScriptPos, 0);
    EXPECT_TRUE(rig.events("mci").empty());
    expect_picture(rig.screen(), 0xe348b70089e50c82ull, "title");

    MainForm& ui = rig.ui();
    const std::uint32_t start = rig.now();
    ASSERT_EQ(rig.press("Label1"), -1);
    // Four dissolve steps of at least 100 ms each.
    EXPECT_GE(rig.now() - start, 400u);
    EXPECT_FALSE(ui.Label1->visible);  // black on the darkened title: the picture cannot tell
    EXPECT_EQ(ui.form.focus(), ui.Text1);
    EXPECT_TRUE(rig.game().title.ime_open);
    EXPECT_EQ(rig.waiting(), "name");
    expect_picture(rig.screen(), 0xf0b5549fa5d829f4ull, "name_entry");

    // A refused name leaves the box open with what was typed.
    const auto retype = [&rig](const std::string& text) {
        for (int i = 0; i < 12; ++i) rig.key(platform::key::Backspace);
        rig.type(text);
    };
    const auto names = rig.game().g.g_Names;
    retype("たかしろゆう");
    EXPECT_EQ(rig.press("Name_ent_btn"), -1);
    EXPECT_EQ(ui.Text1->text, "たかしろゆう");
    EXPECT_EQ(rig.game().g.g_Names, names);
    EXPECT_EQ(rig.waiting(), "name");

    rig.press("Text1");
    retype("たかしろゆ");
    rig.key(platform::key::Tab);
    EXPECT_EQ(ui.form.focus(), ui.Text2);
    retype("  ");
    const std::uint32_t pressed = rig.now();
    EXPECT_EQ(rig.press("Name_ent_btn"), kAtClickWait);
    // 50 ms, four dissolve steps of 100 ms, and half a second before the title goes.
    EXPECT_GE(rig.now() - pressed, 950u);
    for (const char* name : {"prog_save", "prog_load"}) EXPECT_TRUE(rig.ui().menu(name).enabled()) << name;
    // The names as typed, the others kept; the title and the input method gone; the first
    // message of the bundled script: record 2, after the music and the place.
    EXPECT_TRUE(holds(rig.dump(), R"({"g_Names":["","たかしろゆ","  ","早瀬","楓","千登世"],"title_visible":false,
                                     "ime_open":false,"g_ScriptPos":2})"));
    EXPECT_EQ(rig.events("wave").size(), 2u);
}

TEST(NameCheck, AcceptsOneToFiveCharactersOfAnyWidth) {
    EXPECT_TRUE(Name_acceptable("ａbｃdｅ"));  // full and half width count alike
    EXPECT_FALSE(Name_acceptable(""));
    EXPECT_FALSE(Name_acceptable("a&b"));       // a name marker in waiting
    EXPECT_FALSE(Name_acceptable("a,b"));       // a save file could not hold these two
    EXPECT_FALSE(Name_acceptable("\"ab"));
    EXPECT_TRUE(Name_acceptable("ａ，ｂ"));      // their full-width forms are plain characters
    EXPECT_FALSE(Name_acceptable("😀"));       // not in Shift-JIS: could not be saved
}

}  // namespace
}  // namespace dalvo::test
