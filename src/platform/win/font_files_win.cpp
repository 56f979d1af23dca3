// The game's fonts on Windows: the two faces ship in the fonts folder beside dalvo.exe,
// so that the text looks as on the desktop whatever the system has installed.

#include "platform/sdl/font_files.h"

#include "platform/win/wide.h"

namespace dalvo::platform {

namespace {

const char* file_name(FontFace face) { return face == FontFace::Sans ? "LiberationSans-Regular.ttf" : "ipag.ttf"; }

}  // namespace

std::string find_font_file(FontFace face) {
    std::error_code ec;
    const std::filesystem::path file = win::exe_dir() / "fonts" / file_name(face);
    if (!std::filesystem::is_regular_file(file, ec)) return {};
    // SDL and the mapping below it take UTF-8 names.
    const std::u8string name = file.u8string();
    return {name.begin(), name.end()};
}

bool is_first_cut(const std::string& /*file*/) { return false; }

std::string wait_for_whole_font(FontFace face) { return find_font_file(face); }

std::string font_not_found(FontFace face) {
    return std::string("font fonts\\") + file_name(face) + " not found beside dalvo.exe";
}

}  // namespace dalvo::platform
