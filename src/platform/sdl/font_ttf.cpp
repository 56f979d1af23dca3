// Fonts over SDL2_ttf: the game's font names mapped to installed fonts, drawn
// without smoothing so that text keeps exactly the colour it is given.

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/os/mapped_file.h"
#include "platform/sdl/font_files.h"

namespace dalvo::platform {
namespace {

// The game names its Japanese fonts by their old system names; everything that
// is not a Latin face is drawn in the metric-compatible Japanese Gothic.
FontFace face_for(const std::string& name) {
    if (name == "Arial" || name == "arial") return FontFace::Sans;
    return FontFace::Gothic;
}

struct FontCloser {
    void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// Next code point of UTF-8 text; a broken sequence gives U+FFFD and skips one byte.
char32_t next_char(const std::string& s, std::size_t& i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    int len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = len == 1 ? c : c & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    i += len;
    return cp;
}

// One character's ink as a 0/1 bitmap with the pen advance it takes.
struct Glyph {
    int advance = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> ink;
};

// An opened font at one pixel size and style, with the glyphs drawn so far.
class Face {
public:
    Face(TTF_Font* font, bool first_cut) : font_(font), first_cut_(first_cut) {}

    TTF_Font* font() const { return font_.get(); }

    // Whether the font has every character of `utf8`: a first cut of a font must not
    // stand in for the whole font with its missing-character box. A font that is whole
    // answers for itself.
    bool covers(const std::string& utf8) {
        if (!first_cut_) return true;
        for (std::size_t i = 0; i < utf8.size();) {
            const char32_t ch = next_char(utf8, i);
            if (ch > 0xFFFF || TTF_GlyphIsProvided32(font_.get(), ch) == 0) return false;
        }
        return true;
    }

    const Glyph& glyph(char32_t ch) {
        auto it = glyphs_.find(ch);
        if (it == glyphs_.end()) it = glyphs_.emplace(ch, make_glyph(ch)).first;
        return it->second;
    }

private:
    // The original system widens every character of a synthesised bold face by a
    // pixel; SDL_ttf thickens the strokes but lays a string out at the regular
    // advances. Characters are therefore placed one by one at their own advances,
    // each rendered with a space behind it so that thickened strokes are not cut off.
    Glyph make_glyph(char32_t ch) {
        Glyph g;
        int minx = 0, maxx = 0, miny = 0, maxy = 0;
        const bool known = ch <= 0xFFFF && TTF_GlyphMetrics32(font_.get(), ch, &minx, &maxx, &miny, &maxy,
                                                                &g.advance) == 0;
        const std::string text = utf8_of(ch) + " ";
        if (!known) {
            int h = 0;
            TTF_SizeUTF8(font_.get(), utf8_of(ch).c_str(), &g.advance, &h);
        }
        std::unique_ptr<SDL_Surface, SurfaceFree> solid(
            TTF_RenderUTF8_Solid(font_.get(), text.c_str(), SDL_Color{255, 255, 255, 255}));
        if (!solid || solid->format->BytesPerPixel != 1) return g;
        // Solid renderings are 8-bit: index 0 is the background, anything else ink.
        g.width = solid->w;
        g.height = solid->h;
        g.ink.resize(static_cast<std::size_t>(g.width) * g.height);
        if (SDL_MUSTLOCK(solid.get())) SDL_LockSurface(solid.get());
        for (int y = 0; y < g.height; ++y) {
            const auto* src = static_cast<const std::uint8_t*>(solid->pixels) + y * solid->pitch;
            for (int x = 0; x < g.width; ++x) g.ink[static_cast<std::size_t>(y) * g.width + x] = src[x] != 0;
        }
        if (SDL_MUSTLOCK(solid.get())) SDL_UnlockSurface(solid.get());
        return g;
    }

    static std::string utf8_of(char32_t c) {
        std::string s;
        if (c < 0x80) {
            s += static_cast<char>(c);
        } else if (c < 0x800) {
            s += static_cast<char>(0xC0 | (c >> 6));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            s += static_cast<char>(0xE0 | (c >> 12));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (c >> 18));
            s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        }
        return s;
    }

    std::unique_ptr<TTF_Font, FontCloser> font_;
    bool first_cut_;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

// Opened fonts live as long as the process; one per file, pixel size and style.
class FontCache {
public:
    FontCache() : ready_(TTF_Init() == 0) {}
    ~FontCache() {
        faces_.clear();
        if (ready_) TTF_Quit();
    }
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    const std::string& file_of(FontFace face) {
        auto it = files_.find(face);
        if (it == files_.end()) it = files_.emplace(face, find_font_file(face)).first;
        return it->second;
    }

    // The face to measure or draw `utf8` with: when the font's first cut lacks one of
    // its characters, the whole font, waited for, from then on. nullptr when the font
    // cannot be found or opened.
    Face* get(const FontSpec& spec, const std::string& utf8) {
        Face* face = get(spec);
        if (face == nullptr || face->covers(utf8)) return face;
        const FontFace kind = face_for(spec.name);
        std::string whole = wait_for_whole_font(kind);
        if (whole.empty()) return face;  // the cut's box for what it lacks, this once
        files_[kind] = std::move(whole);
        return get(spec);
    }

    // nullptr when the font cannot be found or opened.
    Face* get(const FontSpec& spec) {
        if (!ready_) return nullptr;
        const std::string& file = file_of(face_for(spec.name));
        if (file.empty()) return nullptr;
        const int px = std::max(points_to_pixels(spec.size), 1);
        const int style = (spec.bold ? TTF_STYLE_BOLD : 0) | (spec.italic ? TTF_STYLE_ITALIC : 0);
        auto key = std::make_tuple(file, px, style);
        auto it = faces_.find(key);
        if (it == faces_.end()) {
            std::unique_ptr<Face> face;
            if (TTF_Font* font = open_font(file, px)) {
                TTF_SetFontStyle(font, style);
                face = std::make_unique<Face>(font, is_first_cut(file));
            }
            it = faces_.emplace(std::move(key), std::move(face)).first;  // failures are remembered too
        }
        return it->second.get();
    }

private:
    // Fonts are read from a mapping of their file: the glyph loader would otherwise seek
    // and read the file in small pieces for every new character.
    TTF_Font* open_font(const std::string& file, int px) {
        auto it = mapped_.find(file);
        // The name is UTF-8, as SDL takes it, on every system.
        if (it == mapped_.end()) {
            it = mapped_.emplace(file, MappedFile(std::filesystem::path(std::u8string(file.begin(), file.end()))))
                     .first;
        }
        const std::span<const std::uint8_t> bytes = it->second.bytes();
        if (bytes.empty() || bytes.size() > INT_MAX) return TTF_OpenFont(file.c_str(), px);
        SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
        TTF_Font* font = rw != nullptr ? TTF_OpenFontRW(rw, 1, px) : nullptr;
        it->second.forget_pages();
        return font;
    }

    bool ready_;
    std::map<FontFace, std::string> files_;
    std::map<std::string, MappedFile> mapped_;  // before the faces: they read from it
    std::map<std::tuple<std::string, int, int>, std::unique_ptr<Face>> faces_;
};

FontCache& cache() {
    static FontCache instance;
    return instance;
}

}  // namespace

int points_to_pixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

double granted_points(double points) { return points_to_pixels(points) * 72.0 / 96.0; }

int text_width(const FontSpec& font, const std::string& utf8) {
    Face* face = cache().get(font, utf8);
    if (face == nullptr) return 0;
    int width = 0;
    for (std::size_t i = 0; i < utf8.size();) width += face->glyph(next_char(utf8, i)).advance;
    return width;
}

int text_height(const FontSpec& font) {
    Face* face = cache().get(font);
    return face != nullptr ? TTF_FontHeight(face->font()) : points_to_pixels(font.size);
}

void draw_text(Surface& dst, int x, int y, const std::string& utf8, const FontSpec& font,
               Color color, const Rect& clip) {
    Face* face = cache().get(font, utf8);
    const Rect bounds{0, 0, dst.width(), dst.height()};
    const Rect area = clip.empty() ? bounds : intersect(clip, bounds);
    if (face == nullptr || area.empty()) return;
    const Pixel ink = to_pixel(color);
    int pen = x;
    for (std::size_t i = 0; i < utf8.size();) {
        const Glyph& g = face->glyph(next_char(utf8, i));
        const int x0 = std::max(pen, area.x), y0 = std::max(y, area.y);
        const int x1 = std::min(pen + g.width, area.right()), y1 = std::min(y + g.height, area.bottom());
        for (int yy = y0; yy < y1; ++yy) {
            const std::uint8_t* src = g.ink.data() + static_cast<std::size_t>(yy - y) * g.width;
            Pixel* out = dst.row(yy);
            for (int xx = x0; xx < x1; ++xx) {
                if (src[xx - pen] != 0) out[xx] = ink;
            }
        }
        pen += g.advance;
    }
}

std::string check_fonts() {
    std::string missing;
    for (const FontFace face : {FontFace::Gothic, FontFace::Sans}) {
        if (!cache().file_of(face).empty()) continue;
        if (!missing.empty()) missing += "\n";
        missing += font_not_found(face);
    }
    return missing;
}

}  // namespace dalvo::platform
