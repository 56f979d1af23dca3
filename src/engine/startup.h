#pragma once
// Start-up and the one way out: the window load and unload of the game window,
// the check of the data folder and the seal of the numbered pictures.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dalvo {

struct Game;
struct GameOptions;

// The data folder: the one the options name, else "data" beside the program, else the
// program's own folder.
std::filesystem::path find_data_path(const GameOptions& options);

void Window_load(Game& game);
// Puts the master level back, stops the music, seals the pictures and ends the
// program with `exit_code` (throws platform::ProgramEnd).
[[noreturn]] void Window_unload(Game& game, int exit_code = 0);

// Returns normally or ends the program after its message.
void Check_files(Game& game);

// What the game takes from the names list "30.dat": the default names of lines 1 to 5
// and the music files of lines 8 to 16.
struct NamesList {
    std::array<std::string, 5> names;
    std::array<std::string, 9> music;
};
// The list from the bytes of `file`; nullopt, with the message for the player in
// `fault`, when it is cut short or a saved name holds what a save cannot.
std::optional<NamesList> read_names_list(std::string_view bytes, const std::filesystem::path& file,
                                         std::string& fault);
// `file` is the full path of a numbered picture "n.dat".
void Pict_unlock(Game& game, const std::filesystem::path& file);
void Pict_lock(Game& game, const std::filesystem::path& file);

// Broken data: one message box, then the orderly way out with exit status 1.
[[noreturn]] void data_fault(Game& game, std::string_view message);
// Broken data in the record being run: the message names its line of "3.dat" and its scene.
[[noreturn]] void record_fault(Game& game, std::string_view what);
// The same for the record at `pos`.
[[noreturn]] void record_fault(Game& game, std::int32_t pos, std::string_view what);

}  // namespace dalvo
