#pragma once
// Start-up and the one way out: the window load and unload of the game window,
// the check of the data folder and the seal of the numbered pictures.

#include <cstdint>
#include <filesystem>
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
// `stem` is the full path of a picture without ".dat".
void Pict_unlock(Game& game, const std::filesystem::path& stem);
void Pict_lock(Game& game, const std::filesystem::path& stem);

// Broken data: one message box, then the orderly way out with exit status 1.
[[noreturn]] void data_fault(Game& game, std::string_view message);
// Broken data in the record being run: the message names its line of "3.dat" and its scene.
[[noreturn]] void record_fault(Game& game, std::string_view what);
// The same for the record at `pos`.
[[noreturn]] void record_fault(Game& game, std::int32_t pos, std::string_view what);

}  // namespace dalvo
