// The bundled story played headless to each of its endings through its choices, the way a
// player would: title, name entry, options, clicks, skip, choices, the ending to its close.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/os/pictures_folder.h"
#include "support/fixture.h"
#include "support/json_value.h"
#include "support/picture_check.h"

namespace dalvo {
namespace {

namespace fs = std::filesystem;
using test::Json;
using test::holds;

struct Playthrough {
    fs::path out;
    Json dump(const std::string& name) const { return test::read_json(out / (name + ".json")); }
    bool has_shot(const std::string& name) const { return fs::exists(out / (name + ".png")); }
    fs::path trace_file() const { return out / "trace.jsonl"; }
};

// Plays `script` of tests/story on `data`, its dumps, shots and trace kept in the build's
// test output (as `out`) to be looked at, apart for each build tree.
Playthrough play_in(const fs::path& data, const std::string& script, const std::string& out = {}) {
    Playthrough p{test::picture_output("story") / (out.empty() ? script : out)};
    fs::remove_all(p.out);
    fs::create_directories(p.out);
    const auto run = test::play_dalvo(data, fs::path(DALVO_SOURCE_DIR) / "tests/story" / (script + ".script"), p.out,
                                      {"--trace", std::string(reinterpret_cast<const char*>(p.trace_file().u8string().c_str()))});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return p;
}

// Plays `script` and checks what every way through shares: a clean run, the opening
// shots and the names typed in, and the ending `hap` on the last day.
Playthrough play(const std::string& script, int hap, bool upper_case = false) {
    test::FixtureFolder data;
    if (upper_case) data.upper_case_names();
    const Playthrough p = play_in(data.path(), script, script + (upper_case ? "_upper" : ""));
    const std::vector<Json> trace = test::read_json_lines(p.trace_file());
    for (const Json& e : trace) EXPECT_NE(e["ev"].str(), "msgbox") << e;
    EXPECT_TRUE(!trace.empty() && trace.back()["ev"].str() == "exit") << "the program ends by its close";

    for (const char* shot : {"title", "date_card", "classroom", "choice"}) EXPECT_TRUE(p.has_shot(shot)) << shot;
    EXPECT_TRUE(holds(p.dump("options"), R"({"forms":["Main_Form","Option_Window"]})"));
    EXPECT_TRUE(holds(p.dump("date_card"), R"({"g_Day":1,"g_DateText":"12/25 PM"})"));
    EXPECT_TRUE(holds(p.dump("classroom"), R"({"g_Names":["","相沢","湊","早瀬","楓","千登世"],"waiting":"click",
                                              "Doll_shown":[-1,0,0,-1]})"))
        << "早瀬 and 航 on the stage";
    EXPECT_TRUE(holds(p.dump("choice"), R"({"waiting":"choice"})"));
    const std::string hap_is = R"({"g_hap":)" + std::to_string(hap);
    EXPECT_TRUE(holds(p.dump("before_end"), hap_is + R"(,"g_Day":7,"waiting":"click"})"));
    EXPECT_TRUE(holds(p.dump("ending"), hap_is + R"(,"g_Cmd":"e"})")) << "the ending runs";
    return p;
}

TEST(Story, HayaseEndingShowsEveryKindOfScreenOnTheWay) {
    const Playthrough p = play("full_ending_1", 1);
    for (const char* shot : {"date_card_2", "level", "level.Level_Form", "before_end", "staff_roll", "staff_roll_2"})
        EXPECT_TRUE(p.has_shot(shot)) << shot;
    // The study morning: 数学 +6, 英語 +3, 国語 +4 over the start values.
    EXPECT_TRUE(holds(p.dump("level"), R"({"forms":["Main_Form","Level_Form"],"g_suu":16,"g_hay":1})"));
    EXPECT_TRUE(holds(p.dump("choice_4"), R"({"g_hay":2})"));
}

TEST(Story, RefusingAtTheLastEveningGivesThePlainEnding) {
    const Playthrough p = play("plain_ending", 0);
    EXPECT_TRUE(holds(p.dump("choice_4"), R"({"g_hay":2})")) << "on 早瀬's way until the last choice";
    EXPECT_TRUE(p.has_shot("fin"));
}

TEST(Story, AnUpperCaseCopyPlaysToItsEnding) {
    const Playthrough p = play("plain_ending", 0, true);
    EXPECT_TRUE(p.has_shot("fin"));
}

TEST(Story, ChitoseEndingFollowsTheInvitationAndTheAlbum) {
    const Playthrough p = play("full_ending_2", 2);
    EXPECT_TRUE(holds(p.dump("choice_4"), R"({"g_chi":2})"));
    EXPECT_TRUE(p.has_shot("staff_roll"));
}

TEST(Story, KaedeEndingNeedsTheMorningAtTheSea) {
    const Playthrough p = play("full_ending_3", 3);
    EXPECT_TRUE(holds(p.dump("choice_4"), R"({"g_kae":2,"g_hat_umi":1})"));
}

TEST(Story, AutoModePlaysTheOpeningToTheFirstChoiceWithoutAClick) {
    test::FixtureFolder data, home;
    const test::PlayerHome player(home.path());
    const Playthrough p = play_in(data.path(), "auto_to_choice");
    EXPECT_TRUE(holds(p.dump("options"), R"({"waiting":"dialog"})")) << "auto stops at dialogs";
    EXPECT_TRUE(holds(p.dump("options")["controls"], R"({"auto":true})"));
    EXPECT_TRUE(holds(p.dump("choice"), R"({"waiting":"choice","g_Day":1})"));
}

TEST(Story, ReadTextSurvivesARestartAndCtrlSkipsToTheFirstUnreadLine) {
    test::FixtureFolder data, home;
    const test::PlayerHome player(home.path());
    const Json read = play_in(data.path(), "read_opening").dump("last_read");
    const Playthrough second = play_in(data.path(), "skip_opening");
    EXPECT_TRUE(holds(second.dump("options"), R"({"waiting":"dialog"})"));
    const Json first_unread = second.dump("first_unread");
    EXPECT_TRUE(holds(first_unread, R"({"waiting":"click"})"));
    EXPECT_TRUE(holds(first_unread["controls"], R"({"skip_held":true})"));
    EXPECT_GT(first_unread["g_ScriptPos"].num(), read["g_ScriptPos"].num());
    EXPECT_GT(second.dump("after_unread")["g_ScriptPos"].num(), first_unread["g_ScriptPos"].num());
}

TEST(Story, ThePlayersControlsTakeTheirEffectAndShowOnTheScreen) {
    test::FixtureFolder data, home;
    const test::PlayerHome player(home.path());
#ifdef _WIN32
    // Windows keeps its pictures folder in the registry: the screenshot lands there.
    const fs::path pictures = platform::pictures_folder();
#else
    home.write_text("user-dirs.dirs", "XDG_PICTURES_DIR=\"" + (home.path() / "pics").string() + "\"\n");
    const fs::path pictures = home.path() / "pics" / "dalvo";
#endif
    const auto png_files = [&] {
        std::set<fs::path> files;
        std::error_code ec;
        for (const auto& f : fs::directory_iterator(pictures, ec)) {
            if (f.path().extension() == ".png") files.insert(f.path());
        }
        return files;
    };
    const std::set<fs::path> pictures_before = png_files();
    const Playthrough p = play_in(data.path(), "controls");
    EXPECT_TRUE(holds(p.dump("history"), R"({"LogView":-1})"));
    EXPECT_TRUE(holds(p.dump("history_closed"), R"({"LogView":0,"waiting":"click"})"));
    EXPECT_TRUE(holds(p.dump("hidden")["controls"], R"({"hidden":true})"));
    const Json shown = p.dump("shown");
    EXPECT_TRUE(holds(shown["controls"], R"({"hidden":false})"));
    EXPECT_EQ(shown["g_ScriptPos"].num(), p.dump("hidden")["g_ScriptPos"].num()) << "the key only showed the window";
    EXPECT_GT(p.dump("next")["g_ScriptPos"].num(), shown["g_ScriptPos"].num()) << "the wheel went on";
    EXPECT_TRUE(holds(p.dump("picked"), R"({"g_Choice":1})")) << "Down, Down, Enter: the second option";
    // The message window went away and came back, each as a present of its place, and auto
    // mode's mark came and went as presents of its own.
    const std::int64_t closed = p.dump("history_closed")["time_ms"].num();
    const std::int64_t hid = p.dump("hidden")["time_ms"].num(), showed = shown["time_ms"].num();
    std::vector<std::int64_t> window_at;
    std::size_t mark_frames = 0;
    for (const Json& e : test::read_json_lines(p.trace_file())) {
        if (matches(e, R"({"ev":"present","rect":[20,368,600,104]})")) window_at.push_back(e["t"].num());
        mark_frames += matches(e, R"({"ev":"present","rect":[604,463,10,5]})");
    }
    const auto frames_in = [&](std::int64_t from, std::int64_t to) -> std::int64_t {
        return std::count_if(window_at.begin(), window_at.end(), [&](auto t) { return t >= from && t < to; });
    };
    EXPECT_EQ(std::pair(frames_in(closed, hid), frames_in(hid, showed + 1)), (std::pair<std::int64_t, std::int64_t>(1, 1)));
    EXPECT_EQ(mark_frames, 2u);
    std::set<fs::path> shots = png_files();
    for (const fs::path& f : pictures_before) shots.erase(f);
    EXPECT_EQ(shots.size(), 1u) << "F12 wrote the screen into the pictures folder";
    for (const fs::path& f : shots) fs::remove(f);
    EXPECT_TRUE(p.has_shot("help.Controls_Window"));
    EXPECT_TRUE(holds(p.dump("after_help"), R"({"forms":["Main_Form"]})"));
    const std::string settings = test::read_file(home.path() / "dalvo" / "settings.ini");
    for (const char* line : {"skip_all_text = true", "auto_base_ms = 500", "auto_char_ms = 30"})
        EXPECT_NE(settings.find(line), std::string::npos) << line << " in\n" << settings;
    // The menu bar walked by keys and pad: it wraps, the game waits unmoved, Enter and A
    // choose the settings as a click would, Escape and Alt+Enter leave it closed.
    const Json walked = p.dump("menu_walked");
    EXPECT_TRUE(holds(walked["menu"]["speedup"], R"({"highlighted":true})")) << walked["menu"];
    for (const char* closed : {"menu_closed", "menu_picked", "pad_picked"})
        EXPECT_EQ(p.dump(closed)["menu"].text().find("highlighted"), std::string::npos) << closed;
    for (const char* picked : {"menu_picked", "pad_picked"})
        EXPECT_TRUE(holds(p.dump(picked), R"({"forms":["Main_Form","Option_Window"]})")) << picked;
    const auto at = p.dump("after_help")["g_ScriptPos"].num();
    for (const char* d : {"menu_walked", "menu_closed", "menu_picked", "pad_dialog"})
        EXPECT_EQ(p.dump(d)["g_ScriptPos"].num(), at) << d;
    EXPECT_TRUE(holds(p.dump("pad_dialog"), R"({"forms":["Main_Form"]})")) << "A pressed the dialog's button";
}

}  // namespace
}  // namespace dalvo
