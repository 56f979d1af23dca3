// The desktop's pictures folder; a Windows build has its own file.

#include "platform/os/pictures_folder.h"

#include <cstdlib>
#include <fstream>

namespace dalvo::platform {

namespace fs = std::filesystem;

namespace {

fs::path home() {
    const char* h = std::getenv("HOME");
    return h && *h ? fs::path(h) : fs::path("/tmp");
}

// XDG_PICTURES_DIR="$HOME/Pictures" from user-dirs.dirs; empty when it is not there.
fs::path from_user_dirs() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const fs::path base = config && *config == '/' ? fs::path(config) : home() / ".config";
    std::ifstream in(base / "user-dirs.dirs");
    const std::string key = "XDG_PICTURES_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0) return home() / fs::path(value.substr(5)).relative_path();
        if (!value.empty() && value[0] == '/') return value;
    }
    return {};
}

}  // namespace

fs::path pictures_folder() {
    fs::path dir = from_user_dirs();
    if (dir.empty()) dir = home() / "Pictures";
    return dir / "dalvo";
}

}  // namespace dalvo::platform
