#include "app/recording.h"

#include <cstdio>

#include "app/command_line.h"
#include "platform/os/data_folder.h"
#include "platform/codec/fnv1a.h"

namespace dalvo::app {

namespace {

// FNV-1a over the file's bytes, in hex; "missing" when it cannot be read.
std::string file_hash(const platform::DataFolder& data, std::string_view name) {
    std::string bytes;
    if (data.read(name, bytes) != platform::ReadFault::None) return "missing";
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
    for (const std::string& arg : args) {
        if (!options.empty()) options += ' ';
        options += quoted(arg);
    }
    // Built by appending: GCC 12 at -O3 warns wrongly about "literal" + string here.
    std::string header = "# DALVO! Ver. 1.20, engine build ";
    header.append(build_version()).append("\n# data folder ").append(data_dir.string());
    const platform::DataFolder data(data_dir);
    header.append(": 3.dat ").append(file_hash(data, "3.dat"));
    header.append(", 39.dat ").append(file_hash(data, "39.dat")).append(" (FNV-1a)\n");
    header.append("# options: ").append(options.empty() ? std::string("(none)") : options);
    if (from_environment) header.append(" (recording asked by DALVO_RECORD)");
    header.append("\n");
    header += "# Replay: dalvo --headless --input THIS_FILE (with the same data folder)\n";
    return header;
}

}  // namespace dalvo::app
