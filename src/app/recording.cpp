#include "app/recording.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/command_line.h"
#include "platform/fnv1a.h"

namespace dalvo::app {

namespace {

// FNV-1a over the file's bytes, in hex; "missing" when it cannot be read.
std::string file_hash(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return "missing";
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(platform::fnv1a(bytes)));
    return text;
}

std::string quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t'\"") == std::string::npos) return arg;
    std::string out = "'";
    for (const char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

std::string recording_header(const std::vector<std::string>& args, const std::filesystem::path& data_dir,
                             bool from_environment) {
    std::string options;
    for (const std::string& arg : args) options += (options.empty() ? "" : " ") + quoted(arg);
    std::string header = "# DALVO! Ver. 1.20, engine build " + std::string(build_version()) + "\n";
    header += "# data folder " + data_dir.string() + ": 3.dat " + file_hash(data_dir / "3.dat") + ", 39.dat " +
              file_hash(data_dir / "39.dat") + " (FNV-1a)\n";
    header += "# options: " + (options.empty() ? std::string("(none)") : options) +
              (from_environment ? " (recording asked by DALVO_RECORD)" : "") + "\n";
    header += "# Replay: dalvo --headless --input THIS_FILE (with the same data folder)\n";
    return header;
}

}  // namespace dalvo::app
