#include <gtest/gtest.h>

#include <fstream>

#include "support/fixture.h"

namespace dalvo {
namespace {

TEST(CommandLine, VersionAndHelpEndAtOnce) {
    const auto version = test::run_dalvo({"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out.rfind("DALVO! Ver. 1.20\n", 0), 0u);
    const auto help = test::run_dalvo({"--help"});
    EXPECT_EQ(help.exit_code, 0);
    for (const char* told : {"--master-level", "--record", "DALVO_RECORD", "names typed", "DALVO_SOUNDFONT"})
        EXPECT_NE(help.out.find(told), std::string::npos) << told;
}

TEST(CommandLine, BadUsageEndsWithTwoNamingTheOption) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--headless", "--fast"},
                                                 {"--headless", "--master-level", "70000"}, {"--headless", "--input"},
                                                 {"--headless", "--record"}, {"--headless", "--soundfont"},
                                                 {"--headless", "--record", "/no/such/folder/r.script"}}) {
        const auto r = test::run_dalvo(args);
        EXPECT_EQ(r.exit_code, 2) << args[1];
        EXPECT_NE(r.err.find(args[1]), std::string::npos) << r.err;
    }
}

TEST(CommandLine, AMalformedScriptIsRefusedBeforeTheGameStarts) {
    const auto dir = std::filesystem::path(testing::TempDir()) / "cli_test";
    std::filesystem::create_directories(dir);
    const auto script = dir / "bad.script";
    std::ofstream(script) << "# fine so far\nidle\nclick 10 10\nfly away\n";
    const auto r = test::run_dalvo({"--headless", "--input", script.string(), "--data", (dir / "none").string(),
                                    "--trace", (dir / "trace.jsonl").string()});
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find(script.string() + ":4:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("fly"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "trace.jsonl"));  // nothing started
}

}  // namespace
}  // namespace dalvo
