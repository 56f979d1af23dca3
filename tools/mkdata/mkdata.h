#pragma once
// The data-folder builder: every file of a playable data folder, made from content/.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace dalvo::mkdata {

using Bytes = std::vector<std::uint8_t>;
// File name in the data folder -> its bytes.
using DataFiles = std::map<std::string, Bytes>;

// UTF-8 text as the game's text files keep it: Shift-JIS with CR LF line ends.
// On a character without a Shift-JIS form returns false and names the line in `error`.
bool encode_text(std::string_view utf8, Bytes& out, std::string& error);

// Writes the picture seal: "JF" in place of the bitmap signature.
void seal_picture(Bytes& bmp);

// Makes every file of the data folder: the text files of `content` (*.txt under it,
// each stored as <stem>.dat), the pictures, the pointer and the music.
bool build_data(const std::filesystem::path& content, DataFiles& out, std::string& error);

// Writes `files` into `dir` so that a reader never sees a half-written folder:
// everything goes to a sibling folder first, which then replaces `dir`. The save slots
// 40.dat to 42.dat of a folder someone played are kept; other old files are dropped.
bool write_data_folder(const DataFiles& files, const std::filesystem::path& dir,
                       std::string& error);

}  // namespace dalvo::mkdata
