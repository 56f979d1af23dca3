// Start-up: the data folder, the check of its files, the picture seal, the single instance.

#include <gtest/gtest.h>

#include "engine/engine_run.h"
#include "engine/startup.h"
#include "support/fixture.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;

const std::vector<int> kPictures = {51, 52, 53, 54, 61, 62, 63, 70, 71, 72, 73, 74,
                                    75, 76, 77, 78, 79, 80, 81, 82, 91, 92, 93};

std::string head(const FixtureFolder& data, int n) {
    const auto bytes = data.read_bytes(std::to_string(n) + ".dat");
    return bytes.size() < 2 ? "" : std::string{static_cast<char>(bytes[0]), static_cast<char>(bytes[1])};
}

std::string folder(const fs::path& p) { return p.string() + "/"; }

TEST(Startup, PicturesAreOpenWhileTheGameRunsAndSealedAfterIt) {
    FixtureFolder data;
    EngineRun run(data.path());
    ASSERT_EQ(run.load(), -1);
    for (int n : kPictures) EXPECT_EQ(head(data, n), "BM") << n;
    EXPECT_EQ(run.g().g_Flags[17], "0");
    EXPECT_EQ(run.unload(), 0);
    for (int n : kPictures) EXPECT_EQ(head(data, n), "JF") << n;
    EXPECT_TRUE(run.messages().empty());
}

struct BrokenCase {
    const char* name;
    void (*damage)(FixtureFolder&);
    std::string expect;  // "{}" stands for the data folder
};

void expect_check_fails(const BrokenCase& c) {
    FixtureFolder data;
    c.damage(data);
    EngineRun run(data.path());
    EXPECT_EQ(run.load(), 1) << c.name;
    std::string expect = c.expect;
    if (auto at = expect.find("{}"); at != std::string::npos) expect.replace(at, 2, folder(data.path()));
    ASSERT_EQ(run.messages().size(), 1u) << c.name;
    EXPECT_EQ(run.messages()[0].substr(0, expect.size()), expect) << c.name;
    // The unload sealed every picture that is there.
    for (int n : kPictures) {
        if (fs::exists(data.file(std::to_string(n) + ".dat"))) {
            EXPECT_EQ(head(data, n), "JF") << c.name << n;
        }
    }
}

TEST(Startup, EachBrokenFileGivesItsOwnMessage) {
    const BrokenCase cases[] = {
        {"31 missing", [](FixtureFolder& d) { d.remove("31.dat"); },
         "実行に必要なﾌｧｲﾙがありません. file{}31"},
        {"picture missing", [](FixtureFolder& d) { d.remove("92.dat"); },
         "実行に必要なﾌｧｲﾙがありません. file{}92"},
        {"names short", [](FixtureFolder& d) {
             std::string text = d.read_text("30.dat");
             std::size_t cut = 0;
             for (int i = 0; i < 24; ++i) cut = text.find('\n', cut) + 1;
             d.write_text("30.dat", text.substr(0, cut));
         },
         "実行に必要なﾌｧｲﾙが異常です.(62)"},
        {"music missing", [](FixtureFolder& d) {
             std::string text = d.read_text("30.dat");
             std::size_t start = 0;
             for (int i = 0; i < 8; ++i) start = text.find('\n', start) + 1;
             d.remove(text.substr(start, text.find('\r', start) - start));
         },
         "実行に必要なﾌｧｲﾙがありません. file{}"},
        // The frames are drawn before the check, which must still give its own message.
        {"wall empty", [](FixtureFolder& d) { d.write_bytes("wall.bmp", ""); }, "実行に必要なﾌｧｲﾙが異常です.(59)"},
        {"waku missing", [](FixtureFolder& d) { d.remove("waku.bmp"); }, "実行に必要なﾌｧｲﾙがありません. file"},
    };
    for (const BrokenCase& c : cases) expect_check_fails(c);
}

TEST(Startup, AFolderWithoutTheWallEndsAtOnce) {
    FixtureFolder data;
    data.remove("wall.bmp");
    EngineRun run(data.path());
    EXPECT_EQ(run.load(), 1);
    EXPECT_EQ(run.messages(), std::vector<std::string>{"フォルダの内容が不正です.\n" + folder(data.path())});
    EXPECT_TRUE(run.events("seal").empty());
}

TEST(Startup, DataBesideTheProgramWinsOverTheProgramFolder) {
    FixtureFolder program;
    GameOptions options;
    options.program_dir = program.path();
    EXPECT_EQ(find_data_path(options), program.path());
    const fs::path copy = program.path().string() + "-data", beside = program.path() / "data";
    fs::copy(program.path(), copy);
    fs::rename(copy, beside);
    EXPECT_EQ(find_data_path(options), beside);
    options.data_dir = "/somewhere/else";
    EXPECT_EQ(find_data_path(options), "/somewhere/else");

    EngineRun run(beside, program.path());
    run.game().options.data_dir.clear();
    ASSERT_EQ(run.load(), -1);
    EXPECT_EQ(run.game().g_DataPath, beside);
    EXPECT_EQ(head(program, 51), "JF");  // the program folder's own pictures stay untouched
    EXPECT_EQ(run.unload(), 0);
}

TEST(Startup, ASecondInstanceEndsSilently) {
    FixtureFolder data;
    auto first = platform::make_headless_platform({});
    ASSERT_TRUE(first->platform().host.acquire_instance(data.path()));
    auto second = platform::make_headless_platform({});
    std::vector<std::string> trace;
    second->platform().trace.add_observer([&](const std::string& line) { trace.push_back(line); });
    GameOptions options;
    options.data_dir = data.path();
    EXPECT_EQ(run_game(second->platform(), options), 0);
    EXPECT_TRUE(trace.empty());
}

}  // namespace
}  // namespace dalvo::test
