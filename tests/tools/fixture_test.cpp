// The shared test fixture: folders that start the real program, and the runner.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/fixture.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;

TEST(Fixture, RunnerReportsExitCodeAndBothStreams) {
    const RunResult version = run_dalvo({"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_NE(version.out.find("DALVO! Ver. 1.20"), std::string::npos) << version.out;

    const RunResult bad = run_dalvo({"--no-such-option"});
    EXPECT_EQ(bad.exit_code, 2);
    EXPECT_NE(bad.err.find("--no-such-option"), std::string::npos) << bad.err;
}

TEST(Fixture, BuiltFolderPassesTheStartCheckOfTheRealProgram) {
    FixtureFolder folder;
    std::ofstream(folder.file("input.txt")) << "idle 60000\ndump start\n";
    const RunResult r = run_dalvo({"--headless", "--data", folder.path().string(), "--input",
                                   folder.file("input.txt").string(), "--out", folder.path().string(),
                                   "--trace", folder.file("trace.jsonl").string()});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(read_file(folder.file("start.json")).find("\"bgm09.mid\""), std::string::npos);
    const std::vector<std::string> trace = read_lines(folder.file("trace.jsonl"));
    ASSERT_FALSE(trace.empty());
    EXPECT_NE(trace.back().find("\"exit\""), std::string::npos) << trace.back();
    for (const std::string& line : trace) EXPECT_EQ(line.find("msgbox"), std::string::npos) << line;
    // The program seals its pictures again on the way out.
    EXPECT_EQ(folder.read_bytes("70.dat")[0], 'J');
}

TEST(Fixture, OverridesSingleFilesAndCleansUpUnlessKept) {
    fs::path gone, kept;
    {
        FixtureFolder folder;
        gone = folder.path();
        folder.write_bytes("wall.bmp", std::string_view(""));
        folder.remove("39.dat");
        EXPECT_EQ(fs::file_size(folder.file("wall.bmp")), 0u);
        EXPECT_FALSE(fs::exists(folder.file("39.dat")));
    }
    EXPECT_FALSE(fs::exists(gone));

    ::setenv("DALVO_KEEP_FIXTURES", "1", 1);
    {
        FixtureFolder folder;
        kept = folder.path();
    }
    ::unsetenv("DALVO_KEEP_FIXTURES");
    EXPECT_TRUE(fs::exists(kept / "3.dat"));
    fs::remove_all(kept);
}

}  // namespace
}  // namespace dalvo::test
