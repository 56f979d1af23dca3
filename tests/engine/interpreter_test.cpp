// Running scripts: jumps, continuation codes, name markers, the end of the script.

#include <gtest/gtest.h>

#include "engine/engine_run.h"
#include "engine/interpreter.h"
#include "support/fixture.h"

namespace dalvo::test {
namespace {

class Interpreter : public ::testing::Test {
protected:
    // Loads the records and runs the script from record 0 without click waits;
    // returns the exit code (-1 when the script returned).
    int play(const std::vector<Rec>& records, const std::string& choices = "") {
        data_.write_text("3.dat", script_text(records));
        data_.write_text("39.dat", choices.empty() ? records.front().scene + ",a," +
                                                         records.front().scene + "\n"
                                                   : choices);
        run_ = std::make_unique<EngineRun>(data_.path());
        const int loaded = run_->load();
        if (loaded != -1) return loaded;
        run_->g().g_MsgSpeed = 0;
        return run_->run();
    }
    EngineState& g() { return run_->g(); }

    FixtureFolder data_;
    std::unique_ptr<EngineRun> run_;
};

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
    const std::string dump = run_->dump();
    for (const char* part : {"\"g_kok\":25", "\"g_kou_iku\":-2", "\"g_suu\":10", "\"g_hat_eki\":8",
                             "\"g_ScriptPos\":11", "\"g_CurScene\":1007", "\"g_Cmd\":\"q\"",
                             "\"g_Day\":0", "\"g_Running\":-1"}) {
        EXPECT_NE(dump.find(part), std::string::npos) << part << " in " << dump;
    }
    // "q" serves the message loop eleven times, 10 ms apart, then seals the pictures.
    const auto seals = run_->events("seal");
    ASSERT_EQ(seals.size(), 46u);
    EXPECT_NE(seals[23].find("\"file\":\"51.dat\",\"marker\":\"JF\""), std::string::npos) << seals[23];
    EXPECT_NE(seals[45].find("\"file\":\"82.dat\""), std::string::npos);
    EXPECT_EQ(data_.read_bytes("71.dat").at(0), 'J');
}

TEST_F(Interpreter, JumpToTheOwnSceneRestartsItAtItsFirstRecord) {
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
    EXPECT_EQ(g().g_ben, 3);
    EXPECT_EQ(g().g_kok, 23);
    // "G0" is no command: its message shows and the script goes on; "g2" shows nothing.
    EXPECT_EQ(g().g_ScriptPos, g().g_ScriptLast);
    EXPECT_EQ(run_->game().w.LogText[9], "upper");
}

TEST_F(Interpreter, TheLastRecordIsNeverRunAndAStartAtItReturnsAtOnce) {
    const std::vector<Rec> script = {
        {.scene = "1001", .cmd = "p2", .text = "kok", .arg1 = "1"},
        {.scene = "1002", .cmd = "p2", .text = "kok", .arg1 = "1"},
    };
    EXPECT_EQ(play(script), -1);
    EXPECT_EQ(g().g_kok, 21);
    EXPECT_EQ(run_->run(), -1);  // now at the last record
    EXPECT_EQ(g().g_kok, 21);
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
    const auto& log = run_->game().w.LogText;
    EXPECT_EQ(log[7], "one");
    EXPECT_EQ(log[8], "two");  // "r" cleared the window and showed its own text
    EXPECT_EQ(log[9], "three");  // an unknown command leaves the message to show
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


TEST_F(Interpreter, BadRecordFieldsAndMissingScenesEndTheGameAfterOneMessage) {
    struct Case {
        Rec rec;
        std::string expect;
    };
    const std::vector<Case> cases = {
        {{.scene = "1001", .doll = "51"}, "3.dat 2行目 (場面 1001): 立ち絵の位置が 1..4 ではありません「51」"},
        {{.scene = "1001", .speaker = "a"}, "3.dat 2行目 (場面 1001): 話者が数値ではありません「a」"},
        {{.scene = "1001", .cmd = "p2", .text = "kok", .arg1 = "32760"},
         "3.dat 2行目 (場面 1001): パラメータ kok が16ビットの範囲を超えます(20 + 32760)"},
        {{.scene = "1001", .cmd = "c2", .text = "kok", .arg1 = "40000"},
         "数値が16ビットの範囲を超えています「40000」"},
        {{.scene = "1001", .cmd = "d0", .text = "zero"}, "数値ではありません「zero」"},
        {{.scene = "1001", .cmd = "g0", .target = "1005"}, "Not found NUM to SEQ"},
    };
    for (const Case& c : cases) {
        FixtureFolder data;
        data.write_text("3.dat", script_text({c.rec, {.scene = "1002"}}));
        data.write_text("39.dat", "1001,a,1001\n");
        EngineRun run(data.path());
        ASSERT_EQ(run.load(), -1);
        EXPECT_EQ(run.run(), 1) << c.expect;
        ASSERT_EQ(run.messages().size(), 1u) << c.expect;
        EXPECT_NE(run.messages()[0].find(c.expect), std::string::npos) << run.messages()[0];
    }
}

}  // namespace
}  // namespace dalvo::test
