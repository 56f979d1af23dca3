// The title screen and the name entry: the start of every game.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "daycycle/title.h"
#include "engine/dump.h"
#include "engine/game.h"
#include "engine/startup.h"
#include "platform/platform.h"
#include "support/fixture.h"
#include "support/picture_check.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;
using platform::Color;
using platform::InputEvent;

// Thrown from a timer to leave the game once it waits for the first click.
struct ReachedClickWait {};

// One headless game on a data folder, fed input one event at a time.
class TitleRig {
public:
    explicit TitleRig(const fs::path& data) {
        set_ = platform::make_headless_platform({});
        platform::Platform& p = set_->platform();
        p.trace.add_observer([this](const std::string& line) { trace_.push_back(line); });
        GameOptions options;
        options.data_dir = data;
        options.program_dir = data;
        game_ = std::make_unique<Game>(p, options);
        install_automation(*game_);
        p.host.add_timer("player", 1, [this] {
            // The script, once started, is left at its first click wait.
            if (waiting() == "click") throw ReachedClickWait{};
            // The load dialog is closed without loading as soon as it waits.
            if (waiting() == "dialog" && host().find_form("File_Window")) {
                host().post(platform::CloseRequest{"File_Window"});
            }
        }).set_enabled(true, p.clock.ticks());
    }

    Game& game() { return *game_; }
    MainForm& ui() { return game_->ui; }
    platform::Host& host() { return game_->p.host; }
    std::uint32_t now() { return game_->p.clock.ticks(); }
    std::string waiting() const { return waiting_for(*game_); }

    // Each returns the exit code when the program ended, 0x100 when the script reached
    // its first click wait, else -1.
    int load() {
        const int code = until_end([this] { Window_load(*game_); });
        game_->title.loaded = true;
        return code;
    }
    int serve(InputEvent event) {
        host().post(std::move(event));
        return until_end([this] { host().yield(); });
    }
    // "つづきから"; the load dialog is closed without loading.
    int continue_and_cancel() { return press("Label2"); }
    int press(const std::string& control) { return serve(platform::PressControl{"Main_Form", control}); }
    int hover(const std::string& control) { return serve(platform::HoverControl{"Main_Form", control}); }
    int key(int code) { return serve(platform::KeyDown{"Main_Form", code}); }
    int type(const std::string& text) { return serve(platform::TextInput{"Main_Form", text}); }

    platform::Surface screen() {
        platform::Surface out(640, 480);
        platform::compose(game_->ui.form, out);
        return out;
    }
    std::vector<std::string> events(const std::string& ev) const {
        std::vector<std::string> out;
        for (const std::string& line : trace_) {
            if (line.find("\"ev\":\"" + ev + "\"") != std::string::npos) out.push_back(line);
        }
        return out;
    }

private:
    template <class F>
    int until_end(F f) {
        try {
            f();
            return -1;
        } catch (const platform::ProgramEnd& end) {
            return end.code;
        } catch (const ReachedClickWait&) {
            return 0x100;
        }
    }

    std::unique_ptr<platform::PlatformSet> set_;
    std::vector<std::string> trace_;
    std::unique_ptr<Game> game_;
};

constexpr int kAtClickWait = 0x100;

// The title pictures were pinned by their colours alone; the references beside this
// file are copied out on a mismatch.
void expect_picture(const platform::Surface& actual, std::uint64_t expected, const std::string& name) {
    test::expect_picture(actual, expected, name,
                         PictureCheck("title")
                             .with_references(fs::path(DALVO_SOURCE_DIR) / "tests/daycycle/pictures")
                             .with_hash(colour_hash));
}

int count_black(const platform::Surface& s) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) n += s.get(x, y) == platform::kBlack;
    return n;
}

bool menus_enabled(Game& game, bool enabled) {
    for (const char* name : {"prog_load", "prog_save", "speedup"}) {
        if (game.ui.menu(name).enabled != enabled) return false;
    }
    return true;
}

TEST(Title, ShowsItsPictureAndMenuAndWaitsWithMenusOff) {
    FixtureFolder data;
    TitleRig rig(data.path());
    ASSERT_EQ(rig.load(), -1);
    EXPECT_EQ(rig.waiting(), "title");
    EXPECT_TRUE(rig.ui().Title->visible);
    EXPECT_FALSE(rig.ui().Name_Ent->visible);
    EXPECT_TRUE(menus_enabled(rig.game(), false));
    EXPECT_FALSE(rig.game().title.ime_open);
    EXPECT_EQ(rig.game().w.SelArmed, kTrue);
    ASSERT_NE(rig.ui().Label1->cursor, nullptr);
    EXPECT_EQ(rig.ui().Label2->cursor, rig.ui().Label1->cursor);
    EXPECT_EQ(rig.ui().Name_ent_btn->cursor, rig.ui().Label1->cursor);
    // Nothing runs until the player acts.
    EXPECT_EQ(rig.game().g.g_ScriptPos, 0);
    EXPECT_TRUE(rig.events("mci").empty());
    expect_picture(rig.screen(), 0x05fbe81eb9adc773ull, "title");
}

TEST(Title, EmptyPictureFileLeavesThePlainBackground) {
    FixtureFolder data;
    data.write_bytes("94.dat", std::string_view(""));
    TitleRig rig(data.path());
    ASSERT_EQ(rig.load(), -1);
    EXPECT_TRUE(rig.events("msgbox").empty());
    const platform::Surface s = rig.screen();
    EXPECT_EQ(s.get(320, 100), 0xE0E0E0u);
    EXPECT_EQ(s.get(639, 479), 0xE0E0E0u);
    EXPECT_EQ(rig.waiting(), "title");
}

TEST(Title, MissingOrBrokenTitleFilesEndTheProgramAfterTheirMessage) {
    struct Case {
        const char* file;
        bool remove;
        std::string expect;
    };
    const Case cases[] = {
        {"94.dat", true, "実行に必要なﾌｧｲﾙがありません. file:title"},
        {"94.dat", false, "実行に必要なﾌｧｲﾙが異常です.(481)"},
        {"select.cur", true, "実行に必要なﾌｧｲﾙがありません. file:title"},
        {"select.cur", false, "実行に必要なﾌｧｲﾙが異常です.(481)"},
    };
    for (const Case& c : cases) {
        FixtureFolder data;
        if (c.remove) data.remove(c.file);
        else data.write_bytes(c.file, std::string_view("not a picture at all"));
        TitleRig rig(data.path());
        EXPECT_EQ(rig.load(), 1) << c.file;
        const auto boxes = rig.events("msgbox");
        ASSERT_EQ(boxes.size(), 1u) << c.file;
        EXPECT_NE(boxes[0].find("\"text\":\"" + c.expect + "\""), std::string::npos) << boxes[0];
        // The orderly way out seals the pictures again.
        EXPECT_EQ(data.read_bytes("70.dat")[0], 'J') << c.file;
    }
}

TEST(Title, HoverMakesTheLastTouchedLabelRed) {
    FixtureFolder data;
    TitleRig rig(data.path());
    ASSERT_EQ(rig.load(), -1);
    MainForm& ui = rig.ui();
    rig.hover("Label1");
    EXPECT_EQ(ui.Label1->fore_color, 0x0000FFu);
    EXPECT_EQ(ui.Label2->fore_color, platform::kBlack);
    rig.hover("Label2");
    EXPECT_EQ(ui.Label1->fore_color, platform::kBlack);
    EXPECT_EQ(ui.Label2->fore_color, 0x0000FFu);
    // Leaving both labels for the bare title resets nothing.
    rig.serve(platform::MouseMove{"Main_Form", 500, 100});
    EXPECT_EQ(ui.Label2->fore_color, 0x0000FFu);
    EXPECT_EQ(ui.Label1->fore_color, platform::kBlack);
}

TEST(Title, ContinueCancelledKeepsTheTitleAndBothLabelsWork) {
    FixtureFolder data;
    TitleRig rig(data.path());
    ASSERT_EQ(rig.load(), -1);
    Game& game = rig.game();
    game.g.g_Running = kTrue;
    game.g.g_SeOn = kFalse;
    ASSERT_EQ(rig.continue_and_cancel(), -1);
    EXPECT_EQ(game.g.g_Running, 0);
    EXPECT_EQ(game.g.g_FileMode, 0);
    EXPECT_EQ(rig.host().find_form("File_Window"), nullptr);
    EXPECT_TRUE(rig.ui().Title->visible);
    EXPECT_TRUE(rig.ui().Label1->visible);
    EXPECT_EQ(rig.waiting(), "title");
    // With sound effects off the label is silent; with them on it plays effect 2.
    EXPECT_TRUE(rig.events("wave").empty());
    game.g.g_SeOn = kTrue;
    ASSERT_EQ(rig.continue_and_cancel(), -1);
    ASSERT_FALSE(rig.events("wave").empty());
    EXPECT_NE(rig.events("wave")[0].find("\"n\":2"), std::string::npos);
    ASSERT_EQ(rig.press("Label1"), -1);
    EXPECT_TRUE(rig.ui().Name_Ent->visible);
}

TEST(Title, NewGameDissolvesToBlackAndOpensTheNameEntry) {
    FixtureFolder data;
    TitleRig rig(data.path());
    ASSERT_EQ(rig.load(), -1);
    MainForm& ui = rig.ui();
    const std::uint32_t start = rig.now();
    ASSERT_EQ(rig.press("Label1"), -1);
    // Four dissolve steps of at least 100 ms each.
    EXPECT_GE(rig.now() - start, 400u);
    EXPECT_EQ(count_black(ui.Title->image), 640 * 480);
    EXPECT_FALSE(ui.Label1->visible);
    EXPECT_FALSE(ui.Label2->visible);
    EXPECT_FALSE(ui.Shape1->visible);
    EXPECT_TRUE(ui.Name_Ent->visible);
    EXPECT_EQ(ui.Text1->text, rig.game().g.g_Names[1]);
    EXPECT_EQ(ui.Text2->text, rig.game().g.g_Names[2]);
    EXPECT_EQ(ui.form.focus, ui.Text1);
    EXPECT_TRUE(rig.game().title.ime_open);
    EXPECT_TRUE(menus_enabled(rig.game(), false));
    EXPECT_EQ(rig.waiting(), "name");
    expect_picture(rig.screen(), 0xf2dbd41ce544f9d5ull, "name_entry");
}

TEST(NameCheck, AcceptsOneToFiveCharactersOfAnyWidth) {
    EXPECT_TRUE(Name_acceptable("あ"));
    EXPECT_TRUE(Name_acceptable("たかしろゆ"));
    EXPECT_TRUE(Name_acceptable("abcde"));
    EXPECT_TRUE(Name_acceptable("ａbｃdｅ"));  // full and half width count alike
    EXPECT_TRUE(Name_acceptable("  "));         // blanks are a name, kept as they are
    EXPECT_TRUE(Name_acceptable("ﾕｳｷ"));
    EXPECT_FALSE(Name_acceptable(""));
    EXPECT_FALSE(Name_acceptable("たかしろゆう"));
    EXPECT_FALSE(Name_acceptable("abcdef"));
    EXPECT_FALSE(Name_acceptable("a&b"));       // a name marker in waiting
    EXPECT_FALSE(Name_acceptable("😀"));       // not in Shift-JIS: could not be saved
}

class NameEntry : public ::testing::Test {
protected:
    void SetUp() override {
        rig_ = std::make_unique<TitleRig>(data_.path());
        ASSERT_EQ(rig_->load(), -1);
        ASSERT_EQ(rig_->press("Label1"), -1);
    }
    // Empties the focused field with Backspace and types `text` into it.
    void retype(const std::string& text) {
        for (int i = 0; i < 12; ++i) rig_->key(platform::key::Backspace);
        if (!text.empty()) rig_->type(text);
    }

    FixtureFolder data_;
    std::unique_ptr<TitleRig> rig_;
};

TEST_F(NameEntry, RefusedNamesLeaveTheBoxOpenWithWhatWasTyped) {
    const auto names = rig_->game().g.g_Names;
    retype("");
    EXPECT_EQ(rig_->press("Name_ent_btn"), -1);
    EXPECT_TRUE(rig_->ui().Name_Ent->visible);
    EXPECT_EQ(rig_->game().g.g_Names, names);
    rig_->press("Text1");
    retype("たかしろゆう");
    rig_->press("Name_ent_btn");
    EXPECT_TRUE(rig_->ui().Name_Ent->visible);
    EXPECT_EQ(rig_->ui().Text1->text, "たかしろゆう");
    EXPECT_EQ(rig_->game().g.g_Names, names);
    EXPECT_EQ(rig_->events("wave").size(), 1u);  // only the title's own
    EXPECT_EQ(rig_->waiting(), "name");
}

TEST_F(NameEntry, ValidPressStoresTheNamesAndStartsTheScriptAtRecordZero) {
    MainForm& ui = rig_->ui();
    retype("たかしろゆ");
    rig_->key(platform::key::Tab);
    EXPECT_EQ(ui.form.focus, ui.Text2);
    retype("  ");
    rig_->key(platform::key::Tab);
    EXPECT_EQ(ui.form.focus, ui.Name_ent_btn);
    const std::uint32_t start = rig_->now();
    EXPECT_EQ(rig_->press("Name_ent_btn"), kAtClickWait);
    // 50 ms, four dissolve steps of 100 ms, and half a second before the title goes.
    EXPECT_GE(rig_->now() - start, 950u);
    Game& game = rig_->game();
    EXPECT_EQ(game.g.g_Names[1], "たかしろゆ");
    EXPECT_EQ(game.g.g_Names[2], "  ");
    EXPECT_FALSE(ui.Title->visible);
    EXPECT_FALSE(ui.Name_Ent->visible);
    EXPECT_TRUE(menus_enabled(game, true));
    EXPECT_FALSE(game.title.ime_open);
    // The first message of the bundled script: record 2, after the music and the place.
    EXPECT_EQ(game.g.g_ScriptPos, 2);
    EXPECT_FALSE(rig_->events("mci").empty());
    EXPECT_EQ(rig_->events("wave").size(), 2u);
}

// The whole way from a fresh start, through the real program and its input script.
TEST(TitleProgram, ScriptedNewGameReachesTheFirstMessageWithTheTypedNames) {
    FixtureFolder data;
    std::ofstream(data.file("input.txt")) << "idle 60000\n"
                                             "dump title\n"
                                             "press Main_Form.Label1\n"
                                             "idle 60000\n"
                                             "dump name\n"
                                             "key Backspace\nkey Backspace\nkey Backspace\n"
                                             "type ゆうき\n"
                                             "key Tab\n"
                                             "key Backspace\nkey Backspace\nkey Backspace\n"
                                             "type 早瀬\n"
                                             "press Main_Form.Name_ent_btn\n"
                                             "idle 60000\n"
                                             "dump play\n";
    const RunResult r = run_dalvo({"--headless", "--data", data.path().string(), "--input",
                                   data.file("input.txt").string(), "--out", data.path().string()});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::string title = read_file(data.file("title.json"));
    EXPECT_NE(title.find("\"waiting\":\"title\""), std::string::npos) << title;
    EXPECT_NE(title.find("\"title_visible\":true"), std::string::npos);
    const std::string name = read_file(data.file("name.json"));
    EXPECT_NE(name.find("\"waiting\":\"name\""), std::string::npos) << name;
    const std::string play = read_file(data.file("play.json"));
    EXPECT_NE(play.find("\"waiting\":\"click\""), std::string::npos) << play;
    EXPECT_NE(play.find("\"g_Names\":[\"\",\"ゆうき\",\"早瀬\""), std::string::npos) << play;
    EXPECT_NE(play.find("\"g_ScriptPos\":2,"), std::string::npos);
    EXPECT_NE(play.find("\"title_visible\":false"), std::string::npos);
    EXPECT_NE(play.find("\"prog_save\":{\"caption\":\"セーブ\",\"enabled\":true}"), std::string::npos);
}

}  // namespace
}  // namespace dalvo::test
