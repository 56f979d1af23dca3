#pragma once
// The program's command line (the automation interface's options).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dalvo::app {

struct CommandLine {
    std::filesystem::path data_dir;  // empty: the default rules of the game
    bool headless = false;
    std::filesystem::path input;
    std::filesystem::path out_dir = ".";
    std::filesystem::path trace_file;
    std::filesystem::path record_file;  // empty: no recording
    std::filesystem::path soundfont;    // empty: DALVO_SOUNDFONT, else the system's own
    std::uint32_t master_level = 65535;
    bool master_level_given = false;
    int scale = 1;
    bool help = false;
    bool version = false;
};

// False with `error` naming the option when the arguments (without the program name) are bad.
bool parse_command_line(const std::vector<std::string>& args, CommandLine& out, std::string& error);

std::string usage_text();
std::string version_text();
// The engine build's own version, e.g. "1.20.0".
const char* build_version();

}  // namespace dalvo::app
