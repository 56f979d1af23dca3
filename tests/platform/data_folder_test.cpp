// The data folder's resolver: names found as Windows finds them, the exact name first,
// new files named as the game names them unless a case variant exists.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/codec/text_codec.h"
#include "platform/os/data_folder.h"

namespace dalvo::platform {
namespace {

namespace fs = std::filesystem;
using Match = DataFolder::Match;

TEST(DataFolder, FindsNamesAsWindowsDoesAndPrefersTheExactOne) {
    const fs::path dir = fs::temp_directory_path() / "dalvo_data_folder_test";
    fs::remove_all(dir);
    fs::create_directories(dir / "BGM" / "Sub");
    const std::string sjis_name = *utf8_to_sjis("海の曲.MID");
    for (const fs::path& f : {dir / "WALL.BMP", dir / "70.dat", dir / "70.DAT", dir / "Title.Dat", dir / "title.DAT",
                              dir / "BGM" / "Sub" / "M2.MID", dir / sjis_name, dir / "bgm\\raw.mid"}) {
        std::ofstream(f) << "x";
    }
    const DataFolder data(dir);
    struct Case {
        const char* name;
        fs::path file;  // under dir; empty: not found
        Match how;
        bool ambiguous;
    };
    const Case cases[] = {
        {"wall.bmp", "WALL.BMP", Match::Case, false},
        {"70.dat", "70.dat", Match::Exact, false},  // "70.DAT" beside it loses
        {"70.Dat", "70.DAT", Match::Case, true},    // neither exact: the first in byte order
        {"TITLE.DAT", "Title.Dat", Match::Case, true},
        {"bgm\\sub\\m2.mid", "BGM/Sub/M2.MID", Match::Case, false},
        {"bgm/sub/m2.mid .", "BGM/Sub/M2.MID", Match::Case, false},  // trailing blanks and dots
        {"海の曲.mid", sjis_name, Match::ShiftJis, false},
        {"bgm\\raw.mid", "bgm\\raw.mid", Match::Exact, false},  // as an unzip on Linux leaves it
        {"wall.bmp\\more", "", Match::None, false},  // a file is no folder
        {"bgm", "BGM", Match::Case, false},
        {"m2.mid", "", Match::None, false},
    };
    for (const Case& c : cases) {
        const DataFolder::Found found = data.find(c.name);
        EXPECT_EQ(found.file, c.file.empty() ? fs::path() : dir / c.file) << c.name;
        EXPECT_EQ(found.how, c.how) << c.name;
        EXPECT_EQ(found.ambiguous, c.ambiguous) << c.name;
    }
    // Writes go to the file found; a new file takes the game's name, in the folder found.
    EXPECT_EQ(data.write_path("wall.bmp"), dir / "WALL.BMP");
    EXPECT_EQ(data.write_path("40.dat"), dir / "40.dat");
    EXPECT_EQ(data.write_path("bgm\\new.mid"), dir / "BGM" / "new.mid");
    EXPECT_EQ(data.shown("bgm\\new.mid"), dir / "bgm\\new.mid");
    // A file made after the listing is found as written.
    std::ofstream(dir / "41.dat") << "x";
    EXPECT_EQ(data.find("41.dat").how, Match::Exact);
    EXPECT_TRUE(data.writable());
    EXPECT_EQ(data.save_path("42.dat"), dir / "42.dat");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 9) << "the write test left nothing";
    fs::remove_all(dir);
}

}  // namespace
}  // namespace dalvo::platform
