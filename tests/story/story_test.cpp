// The bundled story played headless to each of its endings through its choices, the way a
// player would: title, name entry, options, clicks, skip, choices, the ending to its close.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/fixture.h"

namespace dalvo {
namespace {

namespace fs = std::filesystem;

// The value of `key` in a dump, as it stands in the JSON text ("1", "\"g1\"", "[...]").
std::string dump_value(const std::string& json, const std::string& key) {
    const std::string needle = "\"" + key + "\":";
    const std::size_t at = json.find(needle);
    if (at == std::string::npos) return "(missing)";
    std::size_t begin = at + needle.size();
    std::size_t end = begin;
    int depth = 0;
    bool in_string = false;
    for (; end < json.size(); ++end) {
        const char c = json[end];
        if (in_string) {
            if (c == '\\') ++end;
            else if (c == '"') in_string = false;
            continue;
        }
        if (c == '"') in_string = true;
        else if (c == '[' || c == '{') ++depth;
        else if (c == ']' || c == '}') {
            if (depth == 0) break;
            --depth;
        } else if (c == ',' && depth == 0) break;
    }
    return json.substr(begin, end - begin);
}

struct Playthrough {
    fs::path out;
    test::RunResult run;
    std::vector<std::string> trace;
    std::string dump(const std::string& name) const { return test::read_file(out / (name + ".json")); }
    bool has_shot(const std::string& name) const { return fs::exists(out / (name + ".png")); }
};

Playthrough play(const std::string& script) {
    test::FixtureFolder data;
    Playthrough p;
    p.out = fs::path(testing::TempDir()) / "story" / script;
    fs::remove_all(p.out);
    fs::create_directories(p.out);
    const fs::path input = fs::path(DALVO_SOURCE_DIR) / "tests/story" / (script + ".script");
    p.run = test::run_dalvo({"--headless", "--data", data.path().string(), "--input", input.string(),
                             "--out", p.out.string(), "--trace", (p.out / "trace.jsonl").string()});
    p.trace = test::read_lines(p.out / "trace.jsonl");
    return p;
}

// What every way through shares: a clean run, the opening shots and the names typed in.
void expect_sound_opening(const Playthrough& p) {
    EXPECT_EQ(p.run.exit_code, 0) << p.run.err;
    for (const std::string& line : p.trace) {
        EXPECT_EQ(line.find("\"ev\":\"msgbox\""), std::string::npos) << "a message box: " << line;
    }
    ASSERT_FALSE(p.trace.empty());
    EXPECT_NE(p.trace.back().find("\"ev\":\"exit\""), std::string::npos) << p.trace.back();

    for (const char* shot : {"title", "date_card", "classroom", "choice"}) EXPECT_TRUE(p.has_shot(shot)) << shot;
    EXPECT_EQ(dump_value(p.dump("options"), "forms").find("Option_Window") != std::string::npos, true)
        << "the story opens the options dialog";
    const std::string card = p.dump("date_card");
    EXPECT_EQ(dump_value(card, "g_Day"), "1");
    EXPECT_EQ(dump_value(card, "g_DateText"), "\"12/25 PM\"");
    const std::string classroom = p.dump("classroom");
    EXPECT_EQ(dump_value(classroom, "g_Names"), "[\"\",\"相沢\",\"湊\",\"早瀬\",\"楓\",\"千登世\"]");
    EXPECT_EQ(dump_value(classroom, "Doll_shown"), "[-1,0,0,-1]") << "早瀬 and 航 on the stage";
    EXPECT_EQ(dump_value(classroom, "waiting"), "\"click\"");
    EXPECT_EQ(dump_value(p.dump("choice"), "waiting"), "\"choice\"");
}

void expect_ending(const Playthrough& p, int hap, int last_day) {
    const std::string before = p.dump("before_end");
    EXPECT_EQ(dump_value(before, "g_hap"), std::to_string(hap));
    EXPECT_EQ(dump_value(before, "g_Day"), std::to_string(last_day));
    EXPECT_EQ(dump_value(before, "waiting"), "\"click\"");
    const std::string ending = p.dump("ending");
    EXPECT_EQ(dump_value(ending, "g_Cmd"), "\"e\"") << "the ending runs";
    EXPECT_EQ(dump_value(ending, "g_hap"), std::to_string(hap));
}

TEST(Story, HayaseEndingShowsEveryKindOfScreenOnTheWay) {
    const Playthrough p = play("full_ending_1");
    expect_sound_opening(p);
    for (const char* shot : {"date_card_2", "level", "before_end", "staff_roll", "staff_roll_2"})
        EXPECT_TRUE(p.has_shot(shot)) << shot;
    const std::string level = p.dump("level");
    EXPECT_NE(dump_value(level, "forms").find("Level_Form"), std::string::npos) << "the level window is open";
    EXPECT_TRUE(fs::exists(p.out / "level.Level_Form.png"));
    // The study morning: 数学 +6, 英語 +3, 国語 +4 over the start values.
    EXPECT_EQ(dump_value(level, "g_suu"), "16");
    EXPECT_EQ(dump_value(level, "g_hay"), "1");
    EXPECT_EQ(dump_value(p.dump("choice_4"), "g_hay"), "2");
    expect_ending(p, 1, 7);
}

TEST(Story, RefusingAtTheLastEveningGivesThePlainEnding) {
    const Playthrough p = play("plain_ending");
    expect_sound_opening(p);
    EXPECT_EQ(dump_value(p.dump("choice_4"), "g_hay"), "2") << "on 早瀬's way until the last choice";
    EXPECT_TRUE(p.has_shot("fin"));
    expect_ending(p, 0, 7);
}

TEST(Story, ChitoseEndingFollowsTheInvitationAndTheAlbum) {
    const Playthrough p = play("full_ending_2");
    expect_sound_opening(p);
    EXPECT_EQ(dump_value(p.dump("choice_4"), "g_chi"), "2");
    EXPECT_TRUE(p.has_shot("staff_roll"));
    expect_ending(p, 2, 7);
}

TEST(Story, KaedeEndingNeedsTheMorningAtTheSea) {
    const Playthrough p = play("full_ending_3");
    expect_sound_opening(p);
    EXPECT_EQ(dump_value(p.dump("choice_4"), "g_kae"), "2");
    EXPECT_EQ(dump_value(p.dump("choice_4"), "g_hat_umi"), "1");
    expect_ending(p, 3, 7);
}

}  // namespace
}  // namespace dalvo
