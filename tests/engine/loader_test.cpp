// Reading "3.dat" and "39.dat", the scene index and the two lookups.

#include <gtest/gtest.h>

#include "engine/engine_run.h"
#include "engine/field_reader.h"
#include "engine/scenario_loader.h"
#include "support/fixture.h"

namespace dalvo::test {
namespace {

std::vector<std::string> all_fields(std::string_view text) {
    FieldReader in(text);
    std::vector<std::string> out;
    std::string f;
    while (in.next(f)) out.push_back(f);
    return out;
}

TEST(FieldReader, SplitsOnCommasAndLineEndsAndHonoursQuotes) {
    EXPECT_EQ(all_fields("a,b\r\nc,\"d,e\" ,  f  \n\"g\"\n"),
              (std::vector<std::string>{"a", "b", "c", "d,e", "f", "g"}));
    // A trailing comma leaves one empty field behind it, also at the end of the text.
    EXPECT_EQ(all_fields("a,\nb,"), (std::vector<std::string>{"a", "", "b", ""}));
    // An open quote stops at the line end instead of swallowing the rest.
    EXPECT_EQ(all_fields("\"a,b\nc"), (std::vector<std::string>{"a,b", "c"}));
    // Lines are counted for the messages, blank ones included.
    FieldReader in("a\r\n\r\n  b,c\nd");
    std::string f;
    in.next(f);
    in.skip_blank_lines();
    in.next(f);
    EXPECT_EQ(f, "b");
    EXPECT_EQ(in.line(), 3);
}


TEST(SceneNumber, TakesTheFirstAndTheLastThreeCharacters) {
    std::int16_t v = 0;
    EXPECT_EQ(convert_scene_number("1-001", v), NumberError::None);
    EXPECT_EQ(v, 1001);
    EXPECT_EQ(convert_scene_number("12", v), NumberError::None);
    EXPECT_EQ(v, 112);
    EXPECT_EQ(convert_scene_number("98765", v), NumberError::None);
    EXPECT_EQ(v, 9765);
    EXPECT_EQ(convert_scene_number("1a01", v), NumberError::NotNumber);
    EXPECT_EQ(parse_int16("-32768", v), NumberError::None);
    EXPECT_EQ(v, -32768);
    EXPECT_EQ(parse_int16("32768", v), NumberError::OutOfRange);
}

class Loader : public ::testing::Test {
protected:
    // Loads the fixture with this "3.dat" (and "39.dat" when given); returns the exit code.
    int load(const std::string& script, const std::string& choices = "") {
        data_.write_text("3.dat", script);
        if (!choices.empty()) data_.write_text("39.dat", choices);
        run_ = std::make_unique<EngineRun>(data_.path());
        return run_->load();
    }
    std::string last_message() {
        auto m = run_->messages();
        return m.empty() ? "" : m.back();
    }

    FixtureFolder data_;
    std::unique_ptr<EngineRun> run_;
};

TEST_F(Loader, HeadingsAnywhereKeepNoRecordAndScenesShareOneIndexEntry) {
    const std::string script =
        "num,a,b,c,d,e,f,g,h,i,j,k,l\n"
        "1001,p2,,,,,,,kok,1,,,\n"
        "1-001,p2,,,,,,,\"kok, with comma\",2,,,\n"
        "num,,,,,,,,,,,,\n"
        "  1002,g0,1001,,,,,,x,,,,\n"
        "1003,q,,,,,,,,,,,\n"
        "num,,,,,,,,,,,,\n";
    ASSERT_EQ(load(script, "1002,\"はい、そう\",1003\n"), -1) << last_message();
    const EngineState& g = run_->g();
    EXPECT_EQ(g.g_ScriptLast, 3);
    EXPECT_EQ(g.g_Script[1].Text, "kok, with comma");
    EXPECT_EQ(g.g_Script[2].Scene, 1002);
    EXPECT_EQ(g.g_Script[2].Target, 1001);
    ASSERT_EQ(g.g_SeqCount, 3);
    EXPECT_EQ(g.g_SeqTable[1].Pos, 2);
    EXPECT_EQ(g.g_SctTable[0].Label, "はい、そう");
    EXPECT_EQ(g.g_SctTable[0].Pos, 3);  // the first record of scene 1003
}

TEST_F(Loader, FindSeqFindsEveryScenePointsBetweenThemAreReported) {
    std::vector<Rec> recs;
    for (int s = 1; s <= 9; ++s) {
        recs.push_back({.scene = std::to_string(1000 + 2 * s), .cmd = "p2", .text = "kok"});
        recs.push_back({.scene = std::to_string(1000 + 2 * s), .cmd = "r"});
    }
    ASSERT_EQ(load(script_text(recs), "1002,a,1018\n"), -1) << last_message();
    for (int s = 1; s <= 9; ++s) {
        EXPECT_TRUE(Find_seq(run_->game(), static_cast<std::int16_t>(1000 + 2 * s))) << s;
        EXPECT_EQ(run_->g().g_ScriptPos, 2 * (s - 1));
    }
    for (int key : {1000, 1005, 1019}) {
        run_->g().g_ScriptPos = 7;
        EXPECT_FALSE(Find_seq(run_->game(), static_cast<std::int16_t>(key)));
        EXPECT_EQ(run_->g().g_ScriptPos, 7);
    }
    EXPECT_EQ(run_->messages(), std::vector<std::string>(3, "Not found NUM to SEQ"));
    EXPECT_TRUE(Find_sct(run_->game(), 1002));
    EXPECT_FALSE(Find_sct(run_->game(), 1004));
    EXPECT_EQ(last_message(), "SCT not found.");
}

struct BrokenCase {
    const char* name;
    std::string script;
    std::string choices;
    std::string expect;  // part of the message after the file name
};

TEST_F(Loader, BrokenDataEndsThroughTheUnloadWithFileAndLine) {
    const std::string ok = "1001,p2,,,,,,,kok,,,,\n1002,q,,,,,,,,,,,\n";
    std::string many;
    for (int i = 0; i < 3002; ++i) many += "1001,r,,,,,,,,,,,\n";
    std::string scenes;
    for (int i = 0; i < 502; ++i) scenes += std::to_string(1000 + i) + ",r,,,,,,,,,,,\n";
    std::string choices;
    for (int i = 0; i < 202; ++i) choices += "1001,x,1001\n";
    const std::vector<BrokenCase> cases = {
        {"short", ok + "1003,q,,,,", "", "3.dat 3行目: レコードが途中で終わっています"},
        {"nan", "1001,p2,,,,,,,kok,,,,\n10x2,q,,,,,,,,,,,\n", "", "3.dat 2行目: 数値ではありません「10x2」"},
        {"records", many, "", "3.dat 3002行目: レコードが3001を超えています"},
        {"scenes", scenes, "", "3.dat 502行目: 場面が501を超えています"},
        {"order", ok + "1001,q,,,,,,,,,,,\n", "", "3.dat 3行目: 場面番号が昇順ではありません(1002 の後に 1001)"},
        {"choices", ok, choices, "39.dat 202行目: 選択肢が201行を超えています"},
        {"target", ok, "1001,a,1002\n1001,b,1005\n", "39.dat 2行目: 選択肢の飛び先の場面 1005 がありません"},
        {"choice cut", ok, "1001,a,1002\n1001,b\n", "39.dat 2行目: 行が途中で終わっています"},
        {"missing", "", "", "3.dat: ファイルがありません"},
    };
    for (const BrokenCase& c : cases) {
        FixtureFolder data;
        if (c.script.empty()) data.remove("3.dat");
        else data.write_text("3.dat", c.script);
        data.write_text("39.dat", c.choices.empty() ? "1001,a,1002\n" : c.choices);
        EngineRun run(data.path());
        EXPECT_EQ(run.load(), 1) << c.name;
        const auto messages = run.messages();
        ASSERT_EQ(messages.size(), 1u) << c.name;
        EXPECT_NE(messages[0].find(c.expect), std::string::npos) << c.name << ": " << messages[0];
        // The unload ran: the pictures are sealed again.
        EXPECT_EQ(run.events("seal").size(), 2 * 23u) << c.name;
    }
}


}  // namespace
}  // namespace dalvo::test
