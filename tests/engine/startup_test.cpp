// Start-up: the data folder, the check of its files, the picture seal, the single instance;
// reading "3.dat" and "39.dat", the scene index and the two lookups.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <set>

#include "support/game_rig.h"
#include "support/made_files.h"
#include "engine/field_reader.h"
#include "engine/scenario_loader.h"
#include "engine/startup.h"
#include "platform/codec/text_codec.h"
#include "platform/os/data_folder.h"
#include "sound/sound.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;

const std::vector<int> kPictures = {51, 52, 53, 54, 61, 62, 63, 70, 71, 72, 73, 74,
                                    75, 76, 77, 78, 79, 80, 81, 82, 91, 92, 93};

TEST(Startup, EachBrokenFileEndsTheLoadWithItsOwnMessageAndThePicturesSealed) {
    const auto scenario = [](std::string script, std::string choices = "1001,a,1002\n") {
        return [=](FixtureFolder& d) { d.write_scenario(script, choices); };
    };
    const std::string ok = "1001,p2,,,,,,,kok,,,,\n1002,q,,,,,,,,,,,\n";
    std::string many, scenes, choices;
    for (int i = 0; i < 3002; ++i) many += "1001,r,,,,,,,,,,,\n";
    for (int i = 0; i < 502; ++i) scenes += std::to_string(1000 + i) + ",r,,,,,,,,,,,\n";
    for (int i = 0; i < 202; ++i) choices += "1001,x,1001\n";
    const std::string bad = "シナリオファイルが異常です.\n{}";
    struct BrokenCase {
        const char* name;
        std::function<void(FixtureFolder&)> damage;
        std::string expect;  // the one message; "{}" stands for the data folder
        std::size_t seals;   // seal events: pictures opened by the check, then all sealed again
    };
    const BrokenCase cases[] = {
        {"31 missing", [](FixtureFolder& d) { d.remove("31.dat"); },
         "実行に必要なﾌｧｲﾙがありません. file{}31", 23},
        {"picture missing", [](FixtureFolder& d) { d.remove("92.dat"); },
         "実行に必要なﾌｧｲﾙがありません. file{}92", 43},
        {"names short", [](FixtureFolder& d) {
             std::string text = d.read_text("30.dat");
             std::size_t cut = 0;
             for (int i = 0; i < 24; ++i) cut = text.find('\n', cut) + 1;
             d.write_text("30.dat", text.substr(0, cut));
         },
         "実行に必要なﾌｧｲﾙが異常です.(62)", 46},
        {"name a save cannot hold", [](FixtureFolder& d) {
             const std::string text = d.read_text("30.dat");
             d.write_text("30.dat", "高\"城\"" + text.substr(text.find('\r')));
         },
         "実行に必要なﾌｧｲﾙが異常です.\n{}30.dat 1行目: 名前に「,」と「\"」は使えません「高\"城\"」", 46},
        {"second name a save cannot hold", [](FixtureFolder& d) {
             std::string text = d.read_text("30.dat");
             const std::size_t second = text.find('\n') + 1;
             d.write_text("30.dat", text.replace(second, text.find('\r', second) - second, "悠,"));
         },
         "実行に必要なﾌｧｲﾙが異常です.\n{}30.dat 2行目: 名前に「,」と「\"」は使えません「悠,」", 46},
        {"music missing", [](FixtureFolder& d) { d.remove("bgm02.mid"); },  // named in "30.dat"
         "実行に必要なﾌｧｲﾙがありません. file{}bgm02.mid", 46},
        // The frames are drawn before the check, which must still give its own message.
        {"wall empty", [](FixtureFolder& d) { d.write_bytes("wall.bmp", ""); }, "実行に必要なﾌｧｲﾙが異常です.(59)", 23},
        {"waku missing", [](FixtureFolder& d) { d.remove("waku.bmp"); }, "実行に必要なﾌｧｲﾙがありません. file", 23},
        {"wall missing", [](FixtureFolder& d) { d.remove("wall.bmp"); }, "フォルダの内容が不正です.\n{}", 0},
        {"title missing", [](FixtureFolder& d) { d.remove("94.dat"); }, "実行に必要なﾌｧｲﾙがありません. file:title", 23},
        {"title broken", [](FixtureFolder& d) { d.write_bytes("94.dat", "not a picture at all"); },
         "実行に必要なﾌｧｲﾙが異常です.(481)", 23},
        {"cursor missing", [](FixtureFolder& d) { d.remove("select.cur"); }, "実行に必要なﾌｧｲﾙがありません. file:title", 23},
        {"cursor broken", [](FixtureFolder& d) { d.write_bytes("select.cur", "not a picture at all"); },
         "実行に必要なﾌｧｲﾙが異常です.(481)", 23},
        {"short", scenario(ok + "1003,q,,,,"), bad + "3.dat 3行目: レコードが途中で終わっています", 46},
        {"nan", scenario("1001,p2,,,,,,,kok,,,,\n10x2,q,,,,,,,,,,,\n"), bad + "3.dat 2行目: 数値ではありません「10x2」", 46},
        {"records", scenario(many), bad + "3.dat 3002行目: レコードが3001を超えています", 46},
        {"scenes", scenario(scenes), bad + "3.dat 502行目: 場面が501を超えています", 46},
        {"choices", scenario(ok, choices), bad + "39.dat 202行目: 選択肢が201行を超えています", 46},
        {"target", scenario(ok, "1001,a,1002\n1001,b,1005\n"), bad + "39.dat 2行目: 選択肢の飛び先の場面 1005 がありません", 46},
        {"choice cut", scenario(ok, "1001,a,1002\n1001,b\n"), bad + "39.dat 2行目: 行が途中で終わっています", 46},
        {"scenario missing", [](FixtureFolder& d) { d.remove("3.dat"); }, bad + "3.dat: ファイルがありません", 46},
    };
    for (const BrokenCase& c : cases) {
        FixtureFolder data;
        c.damage(data);
        GameRig run({.data_dir = data.path()});
        EXPECT_EQ(run.load(), 1) << c.name;
        std::string expect = c.expect;
        if (auto at = expect.find("{}"); at != std::string::npos) expect.replace(at, 2, (data.path() / "").string());
        EXPECT_EQ(run.messages(), std::vector<std::string>{expect}) << c.name;
        EXPECT_EQ(run.events("seal").size(), c.seals) << c.name;
        for (int n : kPictures) {
            const std::string name = std::to_string(n) + ".dat";
            if (fs::exists(data.file(name))) {
                EXPECT_EQ(data.signature(name), "JF") << c.name << " " << name;
            }
        }
    }
}

// Folders as Windows, CD-ROMs and zips give them load as the folder our own tools make,
// and the seals go back into the files as they are named on disk.
TEST(Startup, FoldersMadeOnWindowsLoadAndKeepTheirOwnNames) {
    const auto names_list_with = [](FixtureFolder& d, std::string_view entry) {
        std::string text = d.read_text("30.dat");
        const std::size_t at = text.find("bgm02.mid");
        d.write_text("30.dat", text.replace(at, 9, entry));
    };
    struct WindowsCase {
        const char* name;
        std::function<void(FixtureFolder&)> change;
        std::string music2;  // where the second piece is found, under the folder
    };
    const WindowsCase cases[] = {
        {"upper case", [](FixtureFolder& d) { d.upper_case_names(); }, "BGM02.MID"},
        {"end-of-file marks", [](FixtureFolder& d) {
             // What follows the mark would break each file if it were read.
             for (const char* name : {"3.dat", "39.dat", "30.dat"}) {
                 std::string text = d.read_text(name);
                 d.write_text(name, text + "\x1A" + "1001,broken,\n");
             }
         },
         "bgm02.mid"},
        {"Windows path", [&](FixtureFolder& d) {
             fs::create_directory(d.file("Bgm"));
             fs::rename(d.file("bgm02.mid"), d.file("Bgm") / "m2.mid");
             names_list_with(d, "bgm\\m2.mid. ");
         },
         "Bgm/m2.mid"},
        {"RIFF music", [](FixtureFolder& d) { d.write_bytes("bgm02.mid", rmid(d.read_bytes("bgm02.mid"))); }, "bgm02.mid"},
#ifndef _WIN32  // Windows names are Unicode: no name on disk is Shift-JIS there
        {"Shift-JIS bytes", [&](FixtureFolder& d) {
             fs::rename(d.file("bgm02.mid"), d.file(*platform::utf8_to_sjis("海の曲.MID")));
             names_list_with(d, "海の曲.mid");
         },
         *platform::utf8_to_sjis("海の曲.MID")},
#endif
    };
    FixtureFolder plain;
    GameRig reference({.data_dir = plain.path()});
    ASSERT_EQ(reference.load(), -1);
    for (const WindowsCase& c : cases) {
        FixtureFolder data;
        c.change(data);
        const std::set<fs::path> before(fs::directory_iterator(data.path()), fs::directory_iterator());
        GameRig run({.data_dir = data.path()});
        ASSERT_EQ(run.load(), -1) << c.name << testing::PrintToString(run.messages());
        EXPECT_EQ(run.g().g_ScriptLast, reference.g().g_ScriptLast) << c.name;
        EXPECT_EQ(run.g().g_SctLast, reference.g().g_SctLast) << c.name;
        // The file on disk (Windows finds it under the name as written, the desktop by its own name).
        std::error_code ec;
        EXPECT_TRUE(fs::equivalent(platform::utf8_path(music_path(run.game(), 2)), data.path() / c.music2, ec))
            << c.name << ": " << music_path(run.game(), 2);
        EXPECT_EQ(run.until_end([&] { EXPECT_EQ(BGM_play(run.game(), music_path(run.game(), 2)), 0) << c.name; }), -1);
        EXPECT_TRUE(run.messages().empty()) << c.name << testing::PrintToString(run.messages());
        EXPECT_EQ(run.unload(), 0) << c.name;
        EXPECT_EQ(run.events("seal").size(), 46u) << c.name;  // opened, then sealed again
        const std::set<fs::path> after(fs::directory_iterator(data.path()), fs::directory_iterator());
        EXPECT_EQ(after, before) << c.name << ": no file was added beside its case variant";
        const fs::path sealed = run.game().data.path("70.dat");
        EXPECT_EQ(data.signature(sealed.filename().string()), "JF") << c.name;
    }
}

TEST(Startup, APictureThatCannotBeWrittenPlaysAsItIs) {
    FixtureFolder data;
    const std::vector<std::uint8_t> before = data.read_bytes("70.dat");
    const ReadOnlyMount mount(data.file("70.dat"));
    if (!mount.refused().empty()) GTEST_SKIP() << "no read-only mount: " << mount.refused();
    GameRig run({.data_dir = data.path()});
    ASSERT_EQ(run.load(), -1) << testing::PrintToString(run.messages());
    EXPECT_EQ(run.unload(), 0);
    EXPECT_EQ(data.read_bytes("70.dat"), before);
    EXPECT_EQ(data.signature("71.dat"), "JF");  // the others sealed again as always
}

TEST(Startup, DataBesideTheProgramWinsOverTheProgramFolder) {
    FixtureFolder program;
    GameOptions options;
    options.program_dir = program.path();
    EXPECT_EQ(find_data_path(options), program.path());
    const fs::path copy = program.path().string() + "-data", beside = program.path() / "data";
    fs::copy(program.path(), copy);
    fs::rename(copy, beside);
    options.data_dir = "/somewhere/else";
    EXPECT_EQ(find_data_path(options), "/somewhere/else");

    GameRig run({.data_dir = beside, .program_dir = program.path()});
    run.game().options.data_dir.clear();
    ASSERT_EQ(run.load(), -1);
    EXPECT_EQ(run.game().g_DataPath, beside);
    EXPECT_EQ(program.signature("51.dat"), "JF");  // the program folder's own pictures stay untouched
    EXPECT_EQ(run.unload(), 0);
}

TEST(Startup, AnInstalledProgramFindsTheGameInstalledWithIt) {
    const ScratchFolder scratch;
    const fs::path& prefix = scratch.path();
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "dalvo");
    GameOptions options;
    for (const char* folder : {"bin", "games"}) {
        options.program_dir = prefix / folder;
        EXPECT_EQ(find_data_path(options), prefix / "share" / "dalvo");
    }
    // Only a program in a bin folder looks there: a build folder's program never does.
    options.program_dir = prefix / "build";
    EXPECT_EQ(find_data_path(options), prefix / "build");
    fs::create_directories(prefix / "bin" / "data");
    options.program_dir = prefix / "bin";
    EXPECT_EQ(find_data_path(options), prefix / "bin" / "data");
}

TEST(Startup, ASecondInstanceEndsSilently) {
    FixtureFolder data;
    auto first = platform::make_headless_platform({});
    ASSERT_TRUE(first->platform().instance.acquire(data.path()));
    auto second = platform::make_headless_platform({});
    std::vector<std::string> trace;
    second->platform().trace.add_observer([&](const std::string& line) { trace.push_back(line); });
    GameOptions options;
    options.data_dir = data.path();
    EXPECT_EQ(run_game(second->platform(), options), 0);
    EXPECT_TRUE(trace.empty());
}

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

using Loader = ScriptTest;

TEST_F(Loader, HeadingsAnywhereKeepNoRecordAndScenesShareOneIndexEntry) {
    const std::string script =
        "num,a,b,c,d,e,f,g,h,i,j,k,l\n"
        "1001,p2,,,,,,,kok,1,,,\n"
        "1-001,p2,,,,,,,\"kok, with comma\",2,,,\n"
        "num,,,,,,,,,,,,\n"
        "  1002,g0,1001,,,,,,x,,,,\n"
        "1003,q,,,,,,,,,,,\n"
        "num,,,,,,,,,,,,\n";
    ASSERT_EQ(load(script, "1002,\"はい、そう\",1003\n"), -1) << testing::PrintToString(run_->messages());
    const EngineState& g = run_->g();
    EXPECT_EQ(g.g_Script[1].Text, "kok, with comma");
    EXPECT_EQ(g.g_SctTable[0].Label, "はい、そう");
    // Scene 1002 at record 2, and the choice leads to 1003's first record.
    EXPECT_EQ((std::array<int, 6>{g.g_ScriptLast, g.g_Script[2].Scene, g.g_Script[2].Target, g.g_SeqCount,
                                  g.g_SeqTable[1].Pos, g.g_SctTable[0].Pos}),
              (std::array{3, 1002, 1001, 3, 2, 3}));
}

TEST_F(Loader, ScenesOutOfOrderLoadAsRunsAndAJumpLandsWhereTheSearchLooks) {
    // Scene 1001 comes back after 1000: its second run has an entry of its own, and the
    // search for 1001 over (1001, 1000, 1001) looks at the last entry first.
    ASSERT_EQ(load({{.scene = "1001", .cmd = "p2", .text = "kok", .arg1 = "1"},
                    {.scene = "1001", .cmd = "g0", .target = "1000"},
                    {.scene = "1000", .cmd = "p2", .text = "eig", .arg1 = "1"},
                    {.scene = "1000", .cmd = "g0", .target = "1001"},
                    {.scene = "1001", .cmd = "p2", .text = "suu", .arg1 = "1"},
                    {.scene = "1001", .cmd = "q"},
                    {.scene = "1001"}}),
              -1)
        << testing::PrintToString(run_->messages());
    const EngineState& g = run_->g();
    // A choice target is the first entry of its scene.
    EXPECT_EQ((std::array<int, 4>{g.g_SeqCount, g.g_SeqTable[1].Scene, g.g_SeqTable[2].Pos, g.g_SctTable[0].Pos}),
              (std::array{3, 1000, 4, 0}));
    const auto before = std::array{g.g_kok, g.g_eig, g.g_suu};
    run_->g().g_MsgSpeed = 0;
    EXPECT_EQ(run_->run(), 0);
    EXPECT_EQ((std::array{g.g_kok - before[0], g.g_eig - before[1], g.g_suu - before[2]}),
              (std::array{1, 1, 1}));
    EXPECT_TRUE(run_->messages().empty());
}

TEST_F(Loader, FindSeqFindsEveryScenePointsBetweenThemAreReported) {
    std::vector<Rec> recs;
    for (int s = 1; s <= 9; ++s) {
        recs.push_back({.scene = std::to_string(1000 + 2 * s), .cmd = "p2", .text = "kok"});
        recs.push_back({.scene = std::to_string(1000 + 2 * s), .cmd = "r"});
    }
    ASSERT_EQ(load(recs), -1) << testing::PrintToString(run_->messages());
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
    EXPECT_EQ(run_->messages().back(), "SCT not found.");
}

}  // namespace
}  // namespace dalvo::test
