// A new screenshot's file in the pictures folder, on every system.

#include <ctime>
#include <string>
#include <system_error>

#include "platform/os/pictures_folder.h"

namespace dalvo::platform {

namespace fs = std::filesystem;

namespace {

// Messages are UTF-8 everywhere; Windows would give a narrow name in its ANSI code page.
std::string to_utf8(const fs::path& p) {
    const std::u8string s = p.u8string();
    return {s.begin(), s.end()};
}

}  // namespace

fs::path new_screenshot_file(std::string& error) {
    const fs::path dir = pictures_folder();
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        error = to_utf8(dir) + ": " + ec.message();
        return {};
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    for (int n = 1; n < 1000; ++n) {
        std::string name = stamp;
        if (n > 1) name += '-' + std::to_string(n);
        const fs::path file = dir / (name + ".png");
        if (!fs::exists(file, ec)) return file;
    }
    error = to_utf8(dir) + ": too many screenshots in one second";
    return {};
}

}  // namespace dalvo::platform
