// The desktop's platform services: the save store, the instance lock and the player's folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/os/file_save_store.h"
#include "platform/os/lock_file.h"
#include "platform/os/player_folder.h"
#include "support/fixture.h"

namespace dalvo::platform {
namespace {

namespace fs = std::filesystem;

TEST(FileSaveStore, ReplacesWholeFilesListsAndRemovesThem) {
    const test::ScratchFolder scratch;
    const fs::path& dir = scratch.path();
    FileSaveStore store;
    EXPECT_EQ(store.write(dir / "41.dat", "new"), "");
    EXPECT_EQ(store.write(dir / "40.dat", "first"), "");
    EXPECT_EQ(store.write(dir / "40.dat", "second"), "");
    EXPECT_EQ(test::read_file(dir / "40.dat"), "second");
    fs::create_directory(dir / "42.dat.d");  // not a file: never listed
    EXPECT_EQ(store.list(dir, "4"), (std::vector<fs::path>{dir / "40.dat", dir / "41.dat"}));
    EXPECT_TRUE(store.list(dir / "none", "4").empty());

    // Stopped between the new content and the rename: the file keeps its old content.
    struct Stop {};
    EXPECT_THROW(store.write(dir / "40.dat", "third", [](const fs::path&) { throw Stop{}; }), Stop);
    EXPECT_EQ(test::read_file(dir / "40.dat"), "second");
    // A folder where the new content cannot go: why, and nothing changed.
    fs::remove(dir / "40.dat.tmp");
    fs::create_directory(dir / "40.dat.tmp");
    EXPECT_NE(store.write(dir / "40.dat", "fourth"), "");
    EXPECT_EQ(test::read_file(dir / "40.dat"), "second");

    EXPECT_EQ(store.remove(dir / "41.dat"), "");
    EXPECT_EQ(store.remove(dir / "41.dat"), "") << "already gone";
    EXPECT_NE(store.remove(dir / "42.dat.d" / "."), "");
    EXPECT_FALSE(fs::exists(dir / "41.dat"));
}

TEST(LockFile, OneHolderPerDataFolderUntilItEnds) {
    const fs::path folder = fs::path(testing::TempDir()) / "instance_test_data";
    fs::create_directories(folder);
    auto first = std::make_unique<LockFile>();
    ASSERT_TRUE(first->acquire(folder));
    EXPECT_TRUE(first->acquire(folder)) << "the holder may ask again";
    LockFile second, elsewhere;
    EXPECT_FALSE(second.acquire(folder / "."));  // the same folder, spelt otherwise
    EXPECT_TRUE(elsewhere.acquire(folder.parent_path()));
    first.reset();  // the lock ends with its holder
    EXPECT_TRUE(second.acquire(folder));
}

// Under the XDG bases on the desktop, under APPDATA on Windows.
TEST(PlayerFolder, OneFolderPerDataFolderUnderTheSystemsBase) {
    const fs::path base = fs::path(testing::TempDir()) / "player_folder_test";
    const fs::path name(u8"データ 1");
#ifdef _WIN32
    test::ScopedEnv app_data("APPDATA", (base / "share").string());
    const fs::path settings = base / "share" / "dalvo" / "settings.ini";
#else
    test::ScopedEnv data_home("XDG_DATA_HOME", (base / "share").string());
    test::ScopedEnv config_home("XDG_CONFIG_HOME", (base / "config").string());
    const fs::path settings = base / "config" / "dalvo" / "settings.ini";
#endif
    const fs::path game = player_data_dir(base / "game" / name);
    EXPECT_EQ(game.parent_path(), base / "share" / "dalvo");
    EXPECT_TRUE(game.filename().u8string().starts_with(u8"データ_1-")) << game;
    // The same folder however it is written; another folder elsewhere.
    EXPECT_EQ(player_data_dir(base / "game" / "." / name), game);
    EXPECT_NE(player_data_dir(base / "other" / name), game);
    EXPECT_EQ(player_settings_file(), settings);
#ifndef _WIN32
    // Unset or relative bases fall back to the home folder's.
    test::ScopedEnv relative("XDG_DATA_HOME", "share");
    test::ScopedEnv home("HOME", base.string());
    EXPECT_EQ(player_data_dir(base / "game" / name).parent_path(), base / ".local/share/dalvo");
#endif
}

}  // namespace
}  // namespace dalvo::platform
