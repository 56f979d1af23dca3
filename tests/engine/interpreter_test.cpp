// Running scripts: the branch commands "c", "i", "d", the parameter change "p", jumps,
// continuation codes, name markers, the end of the script.

#include <gtest/gtest.h>

#include <array>

#include "engine/conditions.h"
#include "support/game_rig.h"
#include "engine/interpreter.h"

namespace dalvo::test {
namespace {

// A loaded game whose scene 1002 begins at record 1, so a jump sets `g_ScriptPos` to 1.
class Conditions : public ScriptTest {
protected:
    void SetUp() override { ASSERT_EQ(load({{.scene = "1001"}, {.scene = "1002"}, {.scene = "1003"}}), -1); }
    // Runs the branch command on this record and reports whether it jumped.
    bool jumped(int (*cond)(Game&), const std::string& cmd, const std::string& text,
                const std::string& arg1 = "") {
        set(cmd, text, arg1);
        g().g_CurTarget = 1002;
        g().g_ScriptPos = 0;
        const int code = cond(run_->game());
        EXPECT_EQ(code == kRunAtPos, g().g_ScriptPos == 1) << cmd << " " << text;
        return code == kRunAtPos;
    }
    void change(const std::string& cmd, const std::string& text, const std::string& arg1) {
        set(cmd, text, arg1);
        Param_p(run_->game());
    }
    void set(const std::string& cmd, const std::string& text, const std::string& arg1) {
        g().g_Cmd = cmd;
        g().g_Text = text;
        g().g_Arg1 = arg1;
    }
};

// Each branch command in turn: whether it jumps, and the one message of an unknown code.
TEST_F(Conditions, EachTestJumpsOnlyOnItsOwnParametersAndUnknownCodesSaySo) {
    g().g_ben = 5;
    g().g_kou_eki = 3;
    g().g_hat_umi = -4;
    g().g_kae = 2;
    g().g_chi = 1;
    g().g_Day = 4;
    struct Case {
        int (*cond)(Game&);
        const char *cmd, *text, *arg1;
        bool jumps;
        const char* error = "";
    };
    const Case cases[] = {
        {Cond_c, "c2", "kok", "20", false},  // 20 < 20 does not hold
        {Cond_c, "c2", "kok", "21", true}, {Cond_c, "c2", "eig", "17", true},
        {Cond_c, "c2", "ben", "1", false},  // "ben" is a "c1" parameter
        {Cond_c, "c1", "ben", "5", true}, {Cond_c, "c1", "kok", "0", false},
        {Cond_c, "c3", "kok", "0", false, "error(c?)"}, {Cond_c, "c", "kok", "0", false, "error(c?)"},
        // "i" names its parameter by group and sub-code; any ending names g_kae.
        {Cond_i, "i1", "kou_eki", "3", true}, {Cond_i, "i1", "kou_umi", "3", false},
        {Cond_i, "i1", "kouxxx", "0", false},  // an unknown sub-code never holds
        {Cond_i, "i1", "hat_umi", "-4", true}, {Cond_i, "i1", "kae_xyz", "2", true}, {Cond_i, "i1", "chi", "1", true},
        {Cond_i, "i1", "kok", "20", false},  // not an "i" parameter
        {Cond_i, "i2", "kae", "2", false, "error(i?)"},
        // "d" codes against the half-day 4, each at its boundary: =, >, >=, <, <=.
        {Cond_d, "d0", "4", "", true}, {Cond_d, "d0", "5", "", false}, {Cond_d, "d1", "3", "", true},
        {Cond_d, "d1", "4", "", false}, {Cond_d, "d2", "4", "", true}, {Cond_d, "d2", "5", "", false},
        {Cond_d, "d3", "5", "", true}, {Cond_d, "d3", "4", "", false}, {Cond_d, "d4", "4", "", true},
        {Cond_d, "d4", "3", "", false}, {Cond_d, "d5", "0", "", false, "error(d?)"},
        {Cond_d, "d", "0", "", false, "error(d?)"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> said = run_->messages();
        EXPECT_EQ(jumped(c.cond, c.cmd, c.text, c.arg1), c.jumps) << c.cmd << " " << c.text << " " << c.arg1;
        if (*c.error != '\0') said.emplace_back(c.error);
        EXPECT_EQ(run_->messages(), said) << c.cmd << " " << c.text;
    }
    // "d9": from the first number to the second.
    for (int day : {3, 4, 5, 6}) {
        g().g_Day = static_cast<std::int16_t>(day);
        EXPECT_EQ(jumped(Cond_d, "d9", "3", "5"), day >= 5) << day;
    }
}

TEST_F(Conditions, ParameterChangesFollowTheirTable) {
    // "kae" changes only with "umi"; "kou_xyz" and "zzz" name nothing; the edges of 16 bits are still fine.
    const std::pair<const char*, const char*> changes[] = {
        {"kok", "-3"},     {"kae", "5"}, {"kae_umi", "5"}, {"kou_iku", "2"}, {"kou_xyz", "2"},
        {"hat_eki", "+4"}, {"zzz", "7"}, {"chi", "32767"}, {"hay", "-32768"},
    };
    for (const auto& [text, arg1] : changes) change("p2", text, arg1);
    EXPECT_TRUE(run_->messages().empty());
    change("p1", "kok", "5");
    EXPECT_EQ(run_->messages(), std::vector<std::string>{"error(p?)"});
    // Every parameter at once, so that a change landing on the wrong one shows.
    EXPECT_TRUE(holds(run_->dump(), R"({"g_kok":17,"g_eig":16,"g_suu":10,"g_ben":0,"g_kou_iku":2,"g_kou_eki":0,
        "g_kou_umi":0,"g_hat_eki":4,"g_hat_umi":0,"g_hap":0,"g_kae":5,"g_chi":32767,"g_hay":-32768})"));
}

using Interpreter = ScriptTest;

TEST_F(Interpreter, ParametersBranchesAndQuitGiveTheStateTheScriptImplies) {
    const std::vector<Rec> script = {
        {.scene = "1001", .cmd = "p2", .text = "kok", .arg1 = "5"},
        {.scene = "1001", .cmd = "p2", .text = "kou_iku", .arg1 = "-2"},
        {.scene = "1001", .cmd = "c2", .target = "1003", .text = "kok", .arg1 = "26"},
        {.scene = "1002", .cmd = "p2", .text = "suu", .arg1 = "100"},  // jumped over
        {.scene = "1003", .cmd = "d0", .target = "1005", .text = "0"},
        {.scene = "1004", .cmd = "p2", .text = "suu", .arg1 = "100"},  // jumped over
        {.scene = "1005", .cmd = "p2", .text = "hat_eki", .arg1 = "7"},
        {.scene = "1005", .cmd = "p2", .text = "hat_eki", .arg1 = "1"},
        {.scene = "1006", .cmd = "i1", .target = "1007", .text = "hat_eki", .arg1 = "8"},
        {.scene = "1006", .cmd = "p2", .text = "suu", .arg1 = "100"},  // jumped over
        {.scene = "1007", .cmd = "d1", .target = "1005", .text = "0"},  // day 0: not after 0
        {.scene = "1007", .cmd = "q"},
        {.scene = "1008", .cmd = "p2", .text = "kok", .arg1 = "100"},  // closing record
    };
    EXPECT_EQ(play(script), 0);
    EXPECT_TRUE(holds(run_->dump(), R"({"g_kok":25,"g_kou_iku":-2,"g_suu":10,"g_hat_eki":8,"g_ScriptPos":11,
                                         "g_CurScene":1007,"g_Cmd":"q","g_Day":0,"g_Running":-1})"));
    // "q" serves the message loop eleven times, 10 ms apart, then seals the pictures.
    EXPECT_EQ(run_->events("seal").size(), 46u);
}

TEST_F(Interpreter, JumpToTheOwnSceneRestartsItAtItsFirstRecordAndTheLastRecordNeverRuns) {
    const std::vector<Rec> script = {
        {.scene = "1000", .cmd = "r"},
        {.scene = "1001", .cmd = "p2", .text = "kok", .arg1 = "1"},
        {.scene = "1001", .cmd = "p2", .text = "ben", .arg1 = "1"},
        {.scene = "1001", .cmd = "c1", .target = "1002", .text = "ben", .arg1 = "3"},
        {.scene = "1001", .cmd = "g0", .target = "1001"},
        {.scene = "1002", .cmd = "G0", .target = "1001", .text = "upper"},
        {.scene = "1002", .cmd = "g2", .target = "1001", .text = "g2"},
        {.scene = "1003", .cmd = "p2", .text = "kok", .arg1 = "100"},  // closing record
    };
    EXPECT_EQ(play(script), -1);
    // "G0" is no command: its message shows and the script goes on to the last record; "g2"
    // shows nothing.
    EXPECT_TRUE(holds(run_->dump(), R"({"g_ben":3,"g_kok":23,"g_ScriptPos":7,"g_ScriptLast":7})"));
    EXPECT_EQ(run_->game().w.LogText[9], "upper");
    EXPECT_EQ(run_->run(), -1);  // a start at the last record returns at once
    EXPECT_EQ(g().g_kok, 23);
}

TEST_F(Interpreter, ContinuationCodesDecideWhichMessagesShow) {
    const std::vector<Rec> script = {
        {.scene = "1001", .cmd = "p2", .speaker = "3", .text = "kok", .arg1 = "1"},
        {.scene = "1001", .speaker = "0", .text = "one"},
        {.scene = "1001", .cmd = "r", .text = "two"},
        {.scene = "1001", .cmd = "x", .text = "three"},
        {.scene = "1001", .cmd = "g1", .text = "four"},
        {.scene = "1001", .speaker = "4"},
        {.scene = "1002", .cmd = "q"},
        {.scene = "1003"},
    };
    EXPECT_EQ(play(script), 0);
    // "r" cleared the window and showed its own text; an unknown command leaves the message to
    // show; "g1" shows none.
    EXPECT_EQ(run_->game().w.LogText,
              (std::array<std::string, 10>{"", "", "", "", "", "", "", "one", "two", "three"}));
    EXPECT_EQ(g().g_Speaker, 4);  // a speaker field without text changes only the speaker
}

TEST_F(Interpreter, NameMarkersAreReplacedOnceAndNamesAreNeverRescanned) {
    // Entry 2 of the names (line 2 of "30.dat") holds markers itself.
    std::string names = data_.read_text("30.dat");
    const std::size_t first = names.find('\n');
    const std::size_t second = names.find('\n', first + 1);
    names.replace(first + 1, second - first - 1, "&2翔&1");
    data_.write_text("30.dat", names);
    const std::vector<Rec> script = {
        {.scene = "1001", .speaker = "0", .text = "&2くん、&2さん&9と&", .arg3 = "1"},
        {.scene = "1002", .text = "&2", .arg3 = "0"},
    };
    EXPECT_EQ(play(script), -1);
    EXPECT_EQ(g().g_Text, "&2翔&1くん、&2翔&1さん&9と&");
}

TEST_F(Interpreter, BadRecordFieldsMissingScenesAndEndlessLoopsEndTheGameAfterOneMessage) {
    struct Case {
        std::vector<Rec> recs;
        std::string expect;
    };
    const std::vector<Case> cases = {
        {{{.scene = "1001", .doll = "51"}}, "3.dat 2行目 (場面 1001): 立ち絵の位置が 1..4 ではありません「51」"},
        {{{.scene = "1001", .speaker = "a"}}, "3.dat 2行目 (場面 1001): 話者が数値ではありません「a」"},
        {{{.scene = "1001", .cmd = "p2", .text = "kok", .arg1 = "32760"}},
         "3.dat 2行目 (場面 1001): パラメータ kok が16ビットの範囲を超えます(20 + 32760)"},
        {{{.scene = "1001", .cmd = "c2", .text = "kok", .arg1 = "40000"}},
         "数値が16ビットの範囲を超えています「40000」"},
        {{{.scene = "1001", .cmd = "d0", .text = "zero"}}, "数値ではありません「zero」"},
        {{{.scene = "1001", .cmd = "g0", .target = "1005"}}, "Not found NUM to SEQ"},
        // Nothing in the loop waits for the player: the millionth record is named.
        {{{.scene = "1001", .cmd = "g2"}, {.scene = "1001", .cmd = "g0", .target = "1001"}},
         "3.dat 3行目 (場面 1001): 1000000 レコードの間プレイヤーを待たずに進みました"},
        // A cut background change that jumps back to itself is caught a thousand times sooner.
        {{{.scene = "1001", .cmd = "g0", .target = "1001", .place = "0"}},
         "3.dat 2行目 (場面 1001): 1000 レコードの間プレイヤーを待たずに進みました"},
    };
    for (Case c : cases) {
        c.recs.push_back({.scene = "1002"});
        ASSERT_EQ(load(c.recs), -1);
        EXPECT_EQ(run_->run(), 1) << c.expect;
        ASSERT_EQ(run_->messages().size(), 1u) << c.expect;
        EXPECT_NE(run_->messages()[0].find(c.expect), std::string::npos) << run_->messages()[0];
        EXPECT_EQ(run_->events("seal").size(), 46u) << c.expect;  // the pictures sealed on the way out
    }
    // A skip through more background changes than the bound allows is progress, not a loop.
    std::vector<Rec> long_scene(1001, Rec{.scene = "1001", .place = "0"});
    long_scene.push_back({.scene = "1001", .cmd = "q"});
    long_scene.push_back({.scene = "1002"});
    ASSERT_EQ(load(long_scene), -1);
    run_->g().g_MsgSpeed = 0;
    EXPECT_EQ(run_->run(), 0);
    EXPECT_TRUE(run_->messages().empty()) << run_->messages()[0];
}

}  // namespace
}  // namespace dalvo::test
