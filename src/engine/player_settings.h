#pragma once
// The player's settings, kept in settings.ini of the player's configuration folder:
//
//   [controls]
//   auto_base_ms = 1000        ; auto mode: how long a message stays...
//   auto_char_ms = 60          ; ...and how much longer for each character
//   skip_all_text = false      ; Ctrl and Tab skip unread text too
//   menu_skip_read_only = false ; the menu's skip stops at unread text as well
//   [window]
//   smooth_scaling = false
//   start_fullscreen = false
//
// The game's own options stay in its save files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace dalvo {

struct PlayerSettings {
    std::uint32_t auto_base_ms = 1000;
    std::uint32_t auto_char_ms = 60;
    bool skip_all_text = false;
    bool menu_skip_read_only = false;
    bool smooth_scaling = false;
    bool start_fullscreen = false;
};

// Reads `text` over the defaults in `out`. Each line it cannot use is left out and
// described in `problems` as "FILE:LINE: what is wrong" (one a line).
void parse_settings(std::string_view text, const std::string& file, PlayerSettings& out, std::string& problems);
// The same from the file; a missing file is the defaults, and no problem.
void load_settings(const std::filesystem::path& file, PlayerSettings& out, std::string& problems);
// Writes all of them, through a temporary file; false with `error` set when it cannot.
bool save_settings(const std::filesystem::path& file, const PlayerSettings& s, std::string& error);

}  // namespace dalvo
