// Fonts over SDL2_ttf: the game's font names mapped to installed fonts, drawn
// without smoothing so that text keeps exactly the colour it is given.

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

#include "platform/font.h"

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

// The game names its Japanese fonts by their old system names; everything that
// is not a Latin face is drawn in the metric-compatible Japanese Gothic.
const FontFamily& family_for(const std::string& name) {
    if (name == "Arial" || name == "arial") return kSans;
    return kGothic;
}

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

struct FontCloser {
    void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};

// Opened fonts live as long as the process; one per file, pixel size and style.
class FontCache {
public:
    FontCache() : ready_(TTF_Init() == 0) {}
    ~FontCache() {
        fonts_.clear();
        if (ready_) TTF_Quit();
    }
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    const std::string& file_of(const FontFamily& family) {
        auto it = files_.find(&family);
        if (it == files_.end()) it = files_.emplace(&family, find_file(family)).first;
        return it->second;
    }

    TTF_Font* get(const FontSpec& spec) {
        if (!ready_) return nullptr;
        const std::string& file = file_of(family_for(spec.name));
        if (file.empty()) return nullptr;
        const int px = std::max(points_to_pixels(spec.size), 1);
        const int style = (spec.bold ? TTF_STYLE_BOLD : 0) | (spec.italic ? TTF_STYLE_ITALIC : 0);
        auto key = std::make_tuple(file, px, style);
        auto it = fonts_.find(key);
        if (it != fonts_.end()) return it->second.get();
        std::unique_ptr<TTF_Font, FontCloser> font(TTF_OpenFont(file.c_str(), px));
        if (font) TTF_SetFontStyle(font.get(), style);
        TTF_Font* raw = font.get();
        fonts_.emplace(std::move(key), std::move(font));  // a failed open is remembered too
        return raw;
    }

private:
    bool ready_;
    std::map<const FontFamily*, std::string> files_;
    std::map<std::tuple<std::string, int, int>, std::unique_ptr<TTF_Font, FontCloser>> fonts_;
};

FontCache& cache() {
    static FontCache instance;
    return instance;
}

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

}  // namespace

int points_to_pixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

double granted_points(double points) { return points_to_pixels(points) * 72.0 / 96.0; }

int text_width(const FontSpec& font, const std::string& utf8) {
    TTF_Font* f = cache().get(font);
    if (f == nullptr || utf8.empty()) return 0;
    int w = 0, h = 0;
    if (TTF_SizeUTF8(f, utf8.c_str(), &w, &h) != 0) return 0;
    return w;
}

int text_height(const FontSpec& font) {
    TTF_Font* f = cache().get(font);
    return f != nullptr ? TTF_FontHeight(f) : points_to_pixels(font.size);
}

void draw_text(Surface& dst, int x, int y, const std::string& utf8, const FontSpec& font,
               Color color) {
    TTF_Font* f = cache().get(font);
    if (f == nullptr || utf8.empty() || dst.empty()) return;
    // A solid rendering is 8-bit: index 0 is the background, anything else is ink.
    std::unique_ptr<SDL_Surface, SurfaceFree> glyphs(
        TTF_RenderUTF8_Solid(f, utf8.c_str(), SDL_Color{255, 255, 255, 255}));
    if (!glyphs || glyphs->format->BytesPerPixel != 1) return;
    const Pixel ink = to_pixel(color);
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + glyphs->w, dst.width()), y1 = std::min(y + glyphs->h, dst.height());
    if (SDL_MUSTLOCK(glyphs.get())) SDL_LockSurface(glyphs.get());
    for (int yy = y0; yy < y1; ++yy) {
        const auto* src = static_cast<const std::uint8_t*>(glyphs->pixels) + (yy - y) * glyphs->pitch;
        Pixel* out = dst.row(yy);
        for (int xx = x0; xx < x1; ++xx) {
            if (src[xx - x] != 0) out[xx] = ink;
        }
    }
    if (SDL_MUSTLOCK(glyphs.get())) SDL_UnlockSurface(glyphs.get());
}

std::string check_fonts() {
    std::string missing;
    for (const FontFamily* family : {&kGothic, &kSans}) {
        if (!cache().file_of(*family).empty()) continue;
        if (!missing.empty()) missing += "\n";
        missing += std::string("font ") + family->fontconfig_name + " not found (install the package " +
                   family->debian_package + ")";
    }
    return missing;
}

}  // namespace dalvo::platform
