#pragma once
// The one way to the files of the data folder. Folders arrive as Windows, CD-ROMs and
// zips made them, so a name is found as Windows finds it: any case at every level, "\"
// or "/" between folders, trailing blanks and dots ignored, and a name that came from a
// Shift-JIS record also matches a name on disk whose bytes are still Shift-JIS. Each
// folder is listed once, the first time a name in it is not found as written; a name
// written exactly costs no listing at all.
//
// Not thread-safe: the game's own thread asks, one name at a time.

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/file_read.h"

namespace dalvo::platform {

class DataFolder {
public:
    // How a name was found on disk.
    enum class Match {
        None,      // nowhere
        Exact,     // as written
        Case,      // by another case, or without trailing blanks and dots
        ShiftJis,  // as the Shift-JIS bytes of the name
    };
    struct Found {
        std::filesystem::path file;  // the file on disk; empty when none matched
        Match how = Match::None;
        // More than one entry matched by case alone; the first in byte order was taken.
        bool ambiguous = false;
    };

    // No folder: every name is missing and nothing is writable.
    DataFolder();
    // The folder as found at start-up. Nothing is listed or tried yet.
    explicit DataFolder(std::filesystem::path root);
    ~DataFolder();
    DataFolder(DataFolder&&) noexcept;
    DataFolder& operator=(DataFolder&&) noexcept;

    const std::filesystem::path& root() const { return root_; }

    // `name` is relative to the folder, as the game writes it ("3.dat", "bgm\m2.mid").
    Found find(std::string_view name) const;
    // The file to read: the one found, else the path as shown (so a read reports it missing).
    std::filesystem::path path(std::string_view name) const;
    // The path as the game's messages name it: the folder joined with the name as written.
    std::filesystem::path shown(std::string_view name) const;
    // The file to write: the one found (a seal goes back into "70.DAT"), else the name as
    // written ("\" as a separator).
    std::filesystem::path write_path(std::string_view name) const;

    // Every entry on disk that `name` matches, the exact one included, in byte order:
    // more than one is a folder whose names differ only by case.
    std::vector<std::filesystem::path> matches(std::string_view name) const;

    ReadFault read(std::string_view name, std::string& out, std::size_t limit = std::size_t{1} << 30) const;

    // False for a read-only folder (a mounted CD image, an installed copy): its seals
    // stay in memory and its saves go to the player's own folder. Found once, the first
    // time it is asked, by trying to create a file in the folder.
    bool writable() const;
    // Where the saved games live: the data folder when writable, else the player's folder.
    std::filesystem::path save_folder() const;
    // The file of a saved game named `name`.
    std::filesystem::path save_path(std::string_view name) const;

private:
    struct Listing;
    const Listing& listing(const std::filesystem::path& dir) const;

    std::filesystem::path root_;
    mutable std::optional<bool> writable_;
    mutable std::map<std::filesystem::path, std::unique_ptr<Listing>> listings_;
};

// The comparison keys of one name component: ASCII letters folded to lower case and
// trailing blanks and dots dropped; the Shift-JIS form keeps the second byte of a
// double-byte character as it is.
std::string fold_utf8_name(std::string_view name);
std::string fold_sjis_name(std::string_view name);

// What a folder holds, for the resolver. A Windows build replaces these three with its own
// calls (folder_access.cpp).
struct FolderEntry {
    std::string name;  // the bytes of the name on disk
    bool is_folder = false;
};
std::vector<FolderEntry> list_folder(const std::filesystem::path& dir);
// True when a new file can be made in `dir`: tried, never judged by permission bits.
bool can_create_files_in(const std::filesystem::path& dir);
// A path as the game's text (UTF-8): names whose bytes on disk are still Shift-JIS read
// as such.
std::string path_text(const std::filesystem::path& path);
// A name of the game's (UTF-8) as a path. Windows would read a narrow string in its ANSI
// code page; a byte that is not UTF-8 never throws (it reads as U+FFFD there).
std::filesystem::path utf8_path(std::string_view name);

}  // namespace dalvo::platform
