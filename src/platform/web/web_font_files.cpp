// The page's fonts: put by the page where the desktop finds them installed. The
// Japanese face comes twice: first a cut holding only the characters of the bundled
// data and the program's own texts (scripts/web-fonts.py), which the game starts with,
// then the whole font, fetched once the title is up.

#include <cstdio>
#include <filesystem>

#include "platform/sdl/font_files.h"
#include "platform/web/web_page.h"

namespace dalvo::platform {
namespace {

constexpr const char* kGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
constexpr const char* kGothicFirst = "/usr/share/fonts/opentype/ipafont-gothic/ipag.first.ttf";
constexpr const char* kSans = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
// Long enough for the whole font on a slow line; a text that cannot wait longer is
// drawn with what the first cut has, and the next one asks again.
constexpr int kWholeFontWaitMs = 60000;

bool present(const char* file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec);
}

}  // namespace

std::string find_font_file(FontFace face) {
    if (face == FontFace::Sans) return present(kSans) ? kSans : "";
    if (present(kGothic)) return kGothic;
    return present(kGothicFirst) ? kGothicFirst : "";
}

bool is_first_cut(const std::string& file) { return file == kGothicFirst; }

std::string wait_for_whole_font(FontFace face) {
    if (face == FontFace::Sans) return find_font_file(face);
    if (!present(kGothic) && !page::want_file(kGothic, kWholeFontWaitMs)) {
        std::fprintf(stderr, "dalvo: %s has not come; the text is drawn with the first cut of the font\n", kGothic);
    }
    return present(kGothic) ? kGothic : "";
}

std::string font_not_found(FontFace face) {
    return std::string("font ") + (face == FontFace::Sans ? kSans : kGothic) + " is missing from the page's files";
}

}  // namespace dalvo::platform
