// The installed fonts of a Debian desktop: the package's own file, else fontconfig's answer.

#include "platform/sdl/font_files.h"

#include <cstdio>
#include <filesystem>
#include <optional>

namespace dalvo::platform {
namespace {

struct FontFamily {
    const char* fontconfig_name;   // what fc-match is asked for
    const char* file_hint;         // the file name fc-match must give (it falls back silently)
    const char* debian_package;
    const char* known_paths[3];    // where Debian puts it, when fontconfig is missing
};

constexpr FontFamily kGothic = {
    "IPAGothic", "ipag.ttf", "fonts-ipafont-gothic",
    {"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
     "/usr/share/fonts/truetype/ipafont-gothic/ipag.ttf",
     "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf"}};
constexpr FontFamily kSans = {
    "Liberation Sans", "LiberationSans-Regular.ttf", "fonts-liberation2",
    {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
     "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", nullptr}};

std::optional<std::string> fc_match(const char* family) {
    const std::string command = std::string("fc-match -f '%{file}' '") + family + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string out;
    char buf[512];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    pclose(pipe);
    if (out.empty()) return std::nullopt;
    return out;
}

std::string find_file(const FontFamily& family) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // The package's own file first: asking fontconfig costs a shell and an fc-match
    // run, most of a headless start-up.
    for (const char* path : family.known_paths) {
        if (path == nullptr) continue;
        const fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec && resolved.filename() == family.file_hint && fs::exists(resolved, ec)) return resolved.string();
    }
    if (auto file = fc_match(family.fontconfig_name)) {
        // fc-match answers with some other font when the family is missing:
        // accept only the file (or a link to the file) that the family lives in.
        const fs::path resolved = fs::weakly_canonical(*file, ec);
        if (!ec && fs::exists(resolved, ec) &&
            (resolved.filename() == family.file_hint || fs::path(*file).filename() == family.file_hint)) {
            return resolved.string();
        }
    }
    for (const char* path : family.known_paths) {
        if (path != nullptr && fs::exists(path, ec)) return path;
    }
    return {};
}

const FontFamily& family_of(FontFace face) { return face == FontFace::Sans ? kSans : kGothic; }

}  // namespace

std::string find_font_file(FontFace face) { return find_file(family_of(face)); }

bool is_first_cut(const std::string& /*file*/) { return false; }

std::string wait_for_whole_font(FontFace face) { return find_font_file(face); }

std::string font_not_found(FontFace face) {
    const FontFamily& family = family_of(face);
    return std::string("font ") + family.fontconfig_name + " not found (install the package " +
           family.debian_package + ")";
}

}  // namespace dalvo::platform
