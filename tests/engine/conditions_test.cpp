// The branch commands "c", "i", "d" and the parameter change "p".

#include <gtest/gtest.h>

#include <tuple>

#include "engine/conditions.h"
#include "engine/engine_run.h"
#include "engine/interpreter.h"
#include "support/fixture.h"

namespace dalvo::test {
namespace {

// A loaded game whose scene 1002 begins at record 1, so a jump sets `g_ScriptPos` to 1.
class Conditions : public ::testing::Test {
protected:
    void SetUp() override {
        data_.write_text("3.dat", script_text({{.scene = "1001"}, {.scene = "1002"}, {.scene = "1003"}}));
        data_.write_text("39.dat", "1001,a,1002\n");
        run_ = std::make_unique<EngineRun>(data_.path());
        ASSERT_EQ(run_->load(), -1);
    }
    // Sets up the current record and reports whether the command jumped.
    void set(const std::string& cmd, const std::string& text, const std::string& arg1) {
        run_->g().g_Cmd = cmd;
        run_->g().g_Text = text;
        run_->g().g_Arg1 = arg1;
    }
    bool jumped(int (*cond)(Game&), const std::string& cmd, const std::string& text,
                const std::string& arg1 = "") {
        set(cmd, text, arg1);
        EngineState& g = run_->g();
        g.g_CurTarget = 1002;
        g.g_ScriptPos = 0;
        const int code = cond(run_->game());
        EXPECT_EQ(code == kRunAtPos, g.g_ScriptPos == 1) << cmd << " " << text;
        return code == kRunAtPos;
    }
    void change(const std::string& cmd, const std::string& text, const std::string& arg1) {
        set(cmd, text, arg1);
        Param_p(run_->game());
    }
    EngineState& g() { return run_->g(); }

    FixtureFolder data_;
    std::unique_ptr<EngineRun> run_;
};

TEST_F(Conditions, ThresholdTestsJumpOnlyOnTheirOwnParameters) {
    EXPECT_FALSE(jumped(Cond_c, "c2", "kok", "20"));  // 20 < 20 does not hold
    EXPECT_TRUE(jumped(Cond_c, "c2", "kok", "21"));
    EXPECT_TRUE(jumped(Cond_c, "c2", "eig", "17"));
    EXPECT_FALSE(jumped(Cond_c, "c2", "ben", "1"));  // "ben" is a "c1" parameter
    g().g_ben = 5;
    EXPECT_TRUE(jumped(Cond_c, "c1", "ben", "5"));
    EXPECT_FALSE(jumped(Cond_c, "c1", "kok", "0"));
    EXPECT_TRUE(run_->messages().empty());
    EXPECT_FALSE(jumped(Cond_c, "c3", "kok", "0"));
    EXPECT_FALSE(jumped(Cond_c, "c", "kok", "0"));
    EXPECT_EQ(run_->messages(), std::vector<std::string>(2, "error(c?)"));
}

TEST_F(Conditions, EqualityTestsNameTheirParameterByGroupAndSubCode) {
    g().g_kou_eki = 3;
    g().g_hat_umi = -4;
    g().g_kae = 2;
    g().g_chi = 1;
    EXPECT_TRUE(jumped(Cond_i, "i1", "kou_eki", "3"));
    EXPECT_FALSE(jumped(Cond_i, "i1", "kou_umi", "3"));
    EXPECT_FALSE(jumped(Cond_i, "i1", "kouxxx", "0"));  // an unknown sub-code never holds
    EXPECT_TRUE(jumped(Cond_i, "i1", "hat_umi", "-4"));
    EXPECT_TRUE(jumped(Cond_i, "i1", "kae_xyz", "2"));  // any ending names g_kae
    EXPECT_TRUE(jumped(Cond_i, "i1", "chi", "1"));
    EXPECT_FALSE(jumped(Cond_i, "i1", "kok", "20"));  // not an "i" parameter
    EXPECT_FALSE(jumped(Cond_i, "i2", "kae", "2"));
    EXPECT_EQ(run_->messages(), std::vector<std::string>{"error(i?)"});
}

TEST_F(Conditions, DayTestsCompareTheNumberWithTheHalfDay) {
    g().g_Day = 4;
    // Each code at its boundary: =, >, >=, <, <=.
    for (auto [cmd, holds, fails] : {std::tuple{"d0", "4", "5"}, {"d1", "3", "4"}, {"d2", "4", "5"},
                                     {"d3", "5", "4"}, {"d4", "4", "3"}}) {
        EXPECT_TRUE(jumped(Cond_d, cmd, holds));
        EXPECT_FALSE(jumped(Cond_d, cmd, fails));
    }
    for (int day : {3, 4, 5, 6}) {
        g().g_Day = static_cast<std::int16_t>(day);
        EXPECT_EQ(jumped(Cond_d, "d9", "3", "5"), day >= 5) << day;
    }
    EXPECT_FALSE(jumped(Cond_d, "d5", "0"));
    EXPECT_FALSE(jumped(Cond_d, "d", "0"));
    EXPECT_EQ(run_->messages(), std::vector<std::string>(2, "error(d?)"));
}

TEST_F(Conditions, ParameterChangesFollowTheirTable) {
    change("p2", "kok", "-3");
    EXPECT_EQ(g().g_kok, 17);
    change("p2", "kae", "5");  // "kae" changes only with "umi"
    EXPECT_EQ(g().g_kae, 0);
    change("p2", "kae_umi", "5");
    EXPECT_EQ(g().g_kae, 5);
    change("p2", "kou_iku", "2");
    change("p2", "kou_xyz", "2");
    change("p2", "hat_eki", "+4");
    change("p2", "zzz", "7");
    EXPECT_EQ(g().g_kou_iku, 2);
    EXPECT_EQ(g().g_kou_eki + g().g_kou_umi, 0);
    EXPECT_EQ(g().g_hat_eki, 4);
    EXPECT_TRUE(run_->messages().empty());
    change("p1", "kok", "5");
    EXPECT_EQ(g().g_kok, 17);
    EXPECT_EQ(run_->messages(), std::vector<std::string>{"error(p?)"});
    // Right at the edge of 16 bits is still fine.
    change("p2", "chi", "32767");
    change("p2", "hay", "-32768");
    EXPECT_EQ(g().g_chi, 32767);
    EXPECT_EQ(g().g_hay, -32768);
}

}  // namespace
}  // namespace dalvo::test
