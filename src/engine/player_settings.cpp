#include "engine/player_settings.h"

#include <charconv>
#include <fstream>

#include "platform/os/file_read.h"

namespace dalvo {

namespace {

constexpr std::uint32_t kLongestWaitMs = 60000;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool parse_bool(std::string_view v, bool& out) {
    if (v == "true" || v == "yes" || v == "on" || v == "1") out = true;
    else if (v == "false" || v == "no" || v == "off" || v == "0") out = false;
    else return false;
    return true;
}

bool parse_ms(std::string_view v, std::uint32_t& out) {
    std::uint32_t n = 0;
    const auto res = std::from_chars(v.data(), v.data() + v.size(), n);
    if (res.ec != std::errc() || res.ptr != v.data() + v.size() || n > kLongestWaitMs) return false;
    out = n;
    return true;
}

// Sets one key of a section; returns what is wrong, or "".
std::string set(PlayerSettings& s, std::string_view section, std::string_view key, std::string_view value) {
    const auto flag = [&](bool& field) { return parse_bool(value, field) ? "" : "expected true or false"; };
    const auto ms = [&](std::uint32_t& field) {
        return parse_ms(value, field) ? "" : "expected milliseconds, 0 to 60000";
    };
    if (section == "controls") {
        if (key == "auto_base_ms") return ms(s.auto_base_ms);
        if (key == "auto_char_ms") return ms(s.auto_char_ms);
        if (key == "skip_all_text") return flag(s.skip_all_text);
        if (key == "menu_skip_read_only") return flag(s.menu_skip_read_only);
    } else if (section == "window") {
        if (key == "smooth_scaling") return flag(s.smooth_scaling);
        if (key == "start_fullscreen") return flag(s.start_fullscreen);
    }
    return "unknown setting \"" + std::string(key) + "\" in [" + std::string(section) + "]";
}

}  // namespace

void parse_settings(std::string_view text, const std::string& file, PlayerSettings& out, std::string& problems) {
    PlayerSettings s = out;
    std::string section;
    int line_no = 0;
    for (std::size_t pos = 0; pos <= text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_no;
        if (const std::size_t c = line.find_first_of(";#"); c != std::string_view::npos) line = line.substr(0, c);
        line = trimmed(line);
        if (line.empty()) continue;
        std::string problem;
        if (line.front() == '[') {
            if (line.back() == ']') section = trimmed(line.substr(1, line.size() - 2));
            else problem = "a section name ends with ]";
        } else if (const std::size_t eq = line.find('='); eq == std::string_view::npos) {
            problem = "expected key = value";
        } else {
            problem = set(s, section, trimmed(line.substr(0, eq)), trimmed(line.substr(eq + 1)));
        }
        if (!problem.empty()) problems += file + ":" + std::to_string(line_no) + ": " + problem + "\n";
    }
    out = s;
}

bool save_settings(const std::filesystem::path& file, const PlayerSettings& s, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::filesystem::path temp = file;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        const auto flag = [](bool b) { return b ? "true" : "false"; };
        out << "[controls]\nauto_base_ms = " << s.auto_base_ms << "\nauto_char_ms = " << s.auto_char_ms
            << "\nskip_all_text = " << flag(s.skip_all_text) << "\nmenu_skip_read_only = "
            << flag(s.menu_skip_read_only) << "\n[window]\nsmooth_scaling = " << flag(s.smooth_scaling)
            << "\nstart_fullscreen = " << flag(s.start_fullscreen) << "\n";
        out.flush();
        if (!out) {
            error = temp.string() + ": cannot write";
            return false;
        }
    }
    std::filesystem::rename(temp, file, ec);
    if (ec) error = file.string() + ": " + ec.message();
    return !ec;
}

void load_settings(const std::filesystem::path& file, PlayerSettings& out, std::string& problems) {
    std::string text;
    const platform::ReadFault fault = platform::read_whole_file(file, text);
    if (fault == platform::ReadFault::None) parse_settings(text, file.string(), out, problems);
    else if (fault != platform::ReadFault::Missing) problems += file.string() + ": " + platform::describe(fault) + "\n";
}

}  // namespace dalvo
