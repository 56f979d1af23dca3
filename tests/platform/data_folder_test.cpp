// The data folder's resolver: names found as Windows finds them, the exact name first,
// new files named as the game names them unless a case variant exists.

#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/codec/text_codec.h"
#include "platform/os/data_folder.h"
#include "support/fixture.h"

namespace dalvo::platform {
namespace {

namespace fs = std::filesystem;
using Match = DataFolder::Match;

TEST(DataFolder, FindsNamesAsWindowsDoesAndPrefersTheExactOne) {
    const test::ScratchFolder scratch;
    const fs::path& dir = scratch.path();
    fs::create_directories(dir / "BGM" / "Sub");
    // The game's names are UTF-8: a Japanese one must reach the disk as itself.
    const fs::path japanese(u8"海の曲.MID");
    std::vector<fs::path> files = {dir / "WALL.BMP", dir / "70.dat", dir / "BGM" / "Sub" / "M2.MID", dir / japanese};
#ifndef _WIN32
    // Names only a case-sensitive disk holds side by side, and Shift-JIS bytes as a name.
    const std::string sjis_name = *utf8_to_sjis("海の歌.MID");
    for (const char* name : {"70.DAT", "Title.Dat", "title.DAT", "bgm\\raw.mid"}) files.push_back(dir / name);
    files.push_back(dir / sjis_name);
#endif
    for (const fs::path& f : files) std::ofstream(f) << "x";
    const DataFolder data(dir);
    struct Case {
        const char* name;
        fs::path file;  // under dir; empty: not found
        Match how;
        bool ambiguous;
    };
    std::vector<Case> cases = {
        {"wall.bmp", "WALL.BMP", Match::Case, false},
        {"70.dat", "70.dat", Match::Exact, false},  // "70.DAT" beside it loses
        {"bgm\\sub\\m2.mid", "BGM/Sub/M2.MID", Match::Case, false},
        {"bgm/sub/m2.mid .", "BGM/Sub/M2.MID", Match::Case, false},  // trailing blanks and dots
        {"海の曲.mid", japanese, Match::Case, false},
        {"wall.bmp\\more", "", Match::None, false},  // a file is no folder
        {"bgm", "BGM", Match::Case, false},
        {"m2.mid", "", Match::None, false},
    };
#ifndef _WIN32
    cases.insert(cases.end(), {
        {"70.Dat", "70.DAT", Match::Case, true},  // neither exact: the first in byte order
        {"TITLE.DAT", "Title.Dat", Match::Case, true},
        {"海の歌.mid", sjis_name, Match::ShiftJis, false},
        {"bgm\\raw.mid", "bgm\\raw.mid", Match::Exact, false},  // as an unzip on Linux leaves it
    });
#endif
    for (const Case& c : cases) {
        const DataFolder::Found found = data.find(c.name);
#ifdef _WIN32
        // The system finds any case itself before a listing is needed: the same file.
        std::error_code ec;
        EXPECT_EQ(found.how == Match::None, c.file.empty()) << c.name;
        if (!c.file.empty()) {
            EXPECT_TRUE(fs::equivalent(found.file, dir / c.file, ec)) << c.name;
        }
#else
        EXPECT_EQ(found.file, c.file.empty() ? fs::path() : dir / c.file) << c.name;
        EXPECT_EQ(found.how, c.how) << c.name;
        EXPECT_EQ(found.ambiguous, c.ambiguous) << c.name;
#endif
    }
    // Writes go to the file found; a new file takes the game's name, in the folder found.
    auto same_name = [](const fs::path& a, const fs::path& b) {
#ifdef _WIN32
        // Names differing only by case are one file here.
        auto fold = [](fs::path p) {
            std::wstring s = p.make_preferred().wstring();
            for (wchar_t& ch : s) ch = static_cast<wchar_t>(std::towlower(ch));
            return s;
        };
        return fold(a) == fold(b);
#else
        return a == b;
#endif
    };
    EXPECT_PRED2(same_name, data.write_path("wall.bmp"), dir / "WALL.BMP");
    EXPECT_EQ(data.write_path("40.dat"), dir / "40.dat");
    EXPECT_PRED2(same_name, data.write_path("bgm\\new.mid"), dir / "BGM" / "new.mid");
    EXPECT_EQ(data.write_path("新しい.dat"), dir / fs::path(u8"新しい.dat"));
    EXPECT_EQ(data.shown("bgm\\new.mid"), dir / "bgm\\new.mid");
    // A file made after the listing is found as written.
    std::ofstream(dir / "41.dat") << "x";
    EXPECT_EQ(data.find("41.dat").how, Match::Exact);
    EXPECT_TRUE(data.writable());
    EXPECT_EQ(data.save_path("42.dat"), dir / "42.dat");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), std::ssize(files) + 1)
        << "the write test left nothing";  // 41.dat
}

}  // namespace
}  // namespace dalvo::platform
