#pragma once
// What belongs to the player rather than to the game's data: the saves of a data folder
// that cannot be written, the record of read text, the player's settings. A writable
// data folder keeps its saves where the game always kept them; nothing here is made
// until something is written into it.

#include <filesystem>
#include <string>

namespace dalvo::platform {

// The player's own folder for the game in `data_dir`: $XDG_DATA_HOME/dalvo/<name>/
// (~/.local/share when unset). <name> is the data folder's own name and a hash of its
// absolute path, so two games, or two copies of one game, never share it.
std::filesystem::path player_data_dir(const std::filesystem::path& data_dir);

// The file of the player's settings: $XDG_CONFIG_HOME/dalvo/settings.ini (~/.config when unset).
std::filesystem::path player_settings_file();

// The <name> part alone: the folder's name (other characters than letters, digits, '-', '_',
// '.' and non-ASCII ones become '_'), '-', then twelve hex digits of the hash.
std::string player_folder_name(const std::filesystem::path& data_dir);

}  // namespace dalvo::platform
