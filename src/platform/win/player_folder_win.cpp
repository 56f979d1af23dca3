// The player's own folder on Windows: %APPDATA%\dalvo\<name>\, and the settings beside
// the games' folders in %APPDATA%\dalvo\.

#include "platform/os/player_folder.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "platform/codec/fnv1a.h"
#include "platform/win/wide.h"

namespace dalvo::platform {

namespace fs = std::filesystem;

namespace {

fs::path app_data() {
    const wchar_t* value = _wgetenv(L"APPDATA");
    if (value != nullptr && *value != L'\0') return fs::path(value);
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    return fs::path(std::wstring(temp, n));
}

}  // namespace

std::string player_folder_name(const fs::path& data_dir) {
    std::error_code ec;
    fs::path key = fs::weakly_canonical(fs::absolute(data_dir, ec), ec);
    if (ec || key.empty()) key = data_dir;
    // The folder's name as UTF-8 on every system: the narrow code page would garble a
    // Japanese name.
    const std::u8string name = key.filename().u8string();
    std::string stem;
    for (const char8_t u : name) {
        const auto c = static_cast<char>(u);
        // Non-ASCII bytes stay: a Japanese folder name reads as itself.
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || c == '.' || u >= 0x80;
        stem += plain ? c : '_';
    }
    if (stem.empty() || stem.find_first_not_of('.') == std::string::npos) stem = "data";
    // Windows names are not case-sensitive: one folder, one hash.
    std::wstring lower = key.wstring();
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    char hash[24];
    std::snprintf(hash, sizeof hash, "-%012llx",
                  static_cast<unsigned long long>(fnv1a(win::to_utf8(lower)) & 0xffffffffffffull));
    return stem + hash;
}

fs::path player_data_dir(const fs::path& data_dir) {
    const std::string name = player_folder_name(data_dir);
    return app_data() / L"dalvo" / fs::path(std::u8string(name.begin(), name.end()));
}

fs::path player_settings_file() { return app_data() / L"dalvo" / L"settings.ini"; }

}  // namespace dalvo::platform
