#include "platform/os/player_folder.h"

#include <cstdio>
#include <cstdlib>

#include "platform/codec/fnv1a.h"

namespace dalvo::platform {

namespace fs = std::filesystem;

namespace {

// An XDG base folder: the variable when it holds an absolute path, else HOME/fallback.
fs::path xdg_base(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && *value == '/') return value;
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / fallback;
}

}  // namespace

std::string player_folder_name(const fs::path& data_dir) {
    std::error_code ec;
    fs::path key = fs::weakly_canonical(fs::absolute(data_dir, ec), ec);
    if (ec || key.empty()) key = data_dir;
    std::string stem;
    for (const char c : key.filename().string()) {
        // Non-ASCII bytes stay: a Japanese folder name reads as itself.
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
        stem += plain ? c : '_';
    }
    if (stem.empty() || stem.find_first_not_of('.') == std::string::npos) stem = "data";
    char hash[24];
    std::snprintf(hash, sizeof hash, "-%012llx",
                  static_cast<unsigned long long>(fnv1a(key.string()) & 0xffffffffffffull));
    return stem + hash;
}

fs::path player_data_dir(const fs::path& data_dir) {
    return xdg_base("XDG_DATA_HOME", ".local/share") / "dalvo" / player_folder_name(data_dir);
}

fs::path player_settings_file() { return xdg_base("XDG_CONFIG_HOME", ".config") / "dalvo" / "settings.ini"; }

}  // namespace dalvo::platform
