// The icon is drawn once large and averaged down to each size, so that the small ones
// keep the shapes smooth; its corners are rounded off through the alpha channel.

#include "mkdata/icons.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <system_error>

#include "mkdata/pictures.h"

namespace dalvo::mkdata {

namespace {

constexpr int kDrawn = 768;  // a multiple of every icon size

// The name's first letter, bold enough to read at 16 pixels: white where it is.
Canvas letter_mask() {
    Canvas m(kDrawn, kDrawn);
    const Rgb on = rgb(255, 255, 255);
    m.fill_rect(170, 120, 200, 520, on);
    m.fill_ellipse(370, 380, 230, 260, on);
    m.fill_rect(0, 0, 170, kDrawn, kTransparent);
    m.fill_rect(290, 240, 80, 280, kTransparent);
    m.fill_ellipse(370, 380, 110, 140, kTransparent);
    m.fill_rect(170, 0, 120, 120, kTransparent);
    m.fill_rect(170, 640, 120, 128, kTransparent);
    return m;
}

// The title's dusk: the sky over the sea, the sun on the horizon and its path on the
// water, and the name's first letter in the title's colours, outlined and shadowed.
Canvas draw_icon_art() {
    constexpr int kHorizon = 520;
    Canvas c(kDrawn, kDrawn);
    c.vertical_gradient(0, 0, kDrawn, kHorizon * 2 / 3, rgb(64, 62, 128), rgb(238, 140, 96));
    c.vertical_gradient(0, kHorizon * 2 / 3, kDrawn, kHorizon - kHorizon * 2 / 3, rgb(238, 140, 96),
                        rgb(252, 196, 110));
    c.fill_circle(600, kHorizon - 16, 96, rgb(255, 230, 160));
    c.vertical_gradient(0, kHorizon, kDrawn, kDrawn - kHorizon, rgb(170, 110, 130), rgb(40, 40, 90));
    for (int i = 0; i < 8; ++i) {
        const int y = kHorizon + 14 + i * 28, half = 40 + i * 18;
        c.fill_rect(600 - half, y, 2 * half, 8, rgb(255, 200, 150));
    }
    const Canvas mask = letter_mask();
    const auto in = [&](int x, int y) { return mask.get(x, y) != kTransparent; };
    constexpr int kEdge = 14;
    for (int y = 0; y < kDrawn; ++y) {
        for (int x = 0; x < kDrawn; ++x) {
            if (in(x, y)) {
                c.set(x, y, mix(rgb(255, 150, 120), rgb(220, 60, 120), (y - 120) / 520.0));
            } else if (in(x - kEdge, y) || in(x + kEdge, y) || in(x, y - kEdge) || in(x, y + kEdge) ||
                       in(x - 10, y - 10) || in(x + 10, y + 10) || in(x - 10, y + 10) || in(x + 10, y - 10)) {
                c.set(x, y, rgb(255, 255, 255));
            } else if (in(x - 30, y - 36)) {
                c.set(x, y, rgb(40, 30, 70));
            }
        }
    }
    return c;
}

// Share of the drawn pixel (x, y) inside the rounded square.
bool inside_rounded(int x, int y) {
    constexpr double kRadius = kDrawn * 0.18;
    const double px = x + 0.5, py = y + 0.5;
    const double cx = std::clamp(px, kRadius, kDrawn - kRadius), cy = std::clamp(py, kRadius, kDrawn - kRadius);
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= kRadius * kRadius;
}

void put_u32be(Bytes& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}
void put_le(Bytes& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t n) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void put_chunk(Bytes& out, const char type[4], const Bytes& data) {
    put_u32be(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_u32be(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks: every reader takes it, and the icons are small.
Bytes zlib_stored(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        out.push_back(at + n == raw.size() ? 1 : 0);
        put_le(out, static_cast<std::uint32_t>(n), 2);
        put_le(out, static_cast<std::uint32_t>(~n & 0xFFFF), 2);
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    put_u32be(out, (b << 16) | a);
    return out;
}

bool write_file(const std::filesystem::path& file, const Bytes& bytes, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out.flush()) return true;
    error = "cannot write " + file.string();
    return false;
}

}  // namespace

Icon draw_icon(int size) {
    static const Canvas art = draw_icon_art();
    const int step = kDrawn / size;
    Icon icon{size, Bytes(static_cast<std::size_t>(size) * size * 4)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Averaged over the covered pixels, colours weighted by their coverage.
            double r = 0, g = 0, b = 0, covered = 0;
            for (int sy = y * step; sy < (y + 1) * step; ++sy) {
                for (int sx = x * step; sx < (x + 1) * step; ++sx) {
                    if (!inside_rounded(sx, sy)) continue;
                    const Rgb c = art.get(sx, sy);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    covered += 1;
                }
            }
            std::uint8_t* px = &icon.rgba[(static_cast<std::size_t>(y) * size + x) * 4];
            if (covered > 0) {
                px[0] = static_cast<std::uint8_t>(std::lround(r / covered));
                px[1] = static_cast<std::uint8_t>(std::lround(g / covered));
                px[2] = static_cast<std::uint8_t>(std::lround(b / covered));
            }
            px[3] = static_cast<std::uint8_t>(std::lround(255.0 * covered / (step * step)));
        }
    }
    return icon;
}

Bytes encode_png(const Icon& icon) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    put_u32be(header, static_cast<std::uint32_t>(icon.size));
    put_u32be(header, static_cast<std::uint32_t>(icon.size));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    put_chunk(out, "IHDR", header);
    Bytes raw;
    const std::size_t row = static_cast<std::size_t>(icon.size) * 4;
    for (int y = 0; y < icon.size; ++y) {
        raw.push_back(0);  // no filter
        const auto from = icon.rgba.begin() + static_cast<std::ptrdiff_t>(y * row);
        raw.insert(raw.end(), from, from + static_cast<std::ptrdiff_t>(row));
    }
    put_chunk(out, "IDAT", zlib_stored(raw));
    put_chunk(out, "IEND", {});
    return out;
}

Bytes encode_ico(const std::vector<Icon>& icons) {
    Bytes out;
    put_le(out, 0, 2);
    put_le(out, 1, 2);  // an icon, not a cursor
    put_le(out, static_cast<std::uint32_t>(icons.size()), 2);
    std::vector<Bytes> images;
    for (const Icon& icon : icons) images.push_back(encode_png(icon));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * icons.size());
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const std::uint32_t side = icons[i].size >= 256 ? 0 : static_cast<std::uint32_t>(icons[i].size);
        out.push_back(static_cast<std::uint8_t>(side));
        out.push_back(static_cast<std::uint8_t>(side));
        out.push_back(0);  // no palette
        out.push_back(0);
        put_le(out, 1, 2);   // planes
        put_le(out, 32, 2);  // bits per pixel
        put_le(out, static_cast<std::uint32_t>(images[i].size()), 4);
        put_le(out, offset, 4);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

std::string window_icon_source(const Icon& icon) {
    std::string s =
        "// Made by dalvo-mkdata --icons: the game window's own icon, so that the program\n"
        "// reads no file for it.\n\n"
        "#include \"app/window_icon.h\"\n\n"
        "namespace dalvo::app {\n\n"
        "namespace {\n"
        "const unsigned char kPixels[] = {";
    for (std::size_t i = 0; i < icon.rgba.size(); ++i) {
        s += i % 16 == 0 ? "\n    " : " ";
        s += std::to_string(icon.rgba[i]) + ",";
    }
    s += "\n};\n}  // namespace\n\n"
         "platform::WindowIcon window_icon() { return {" +
         std::to_string(icon.size) + ", kPixels}; }\n\n}  // namespace dalvo::app\n";
    return s;
}

bool write_icons(const std::filesystem::path& dir, const std::filesystem::path& source, std::string& error) {
    std::vector<Icon> icons;
    for (int size : kIconSizes) {
        icons.push_back(draw_icon(size));
        const std::string side = std::to_string(size);
        if (!write_file(dir / "hicolor" / (side + "x" + side) / "apps" / "dalvo.png", encode_png(icons.back()),
                        error)) {
            return false;
        }
    }
    if (!write_file(dir / "dalvo.ico", encode_ico(icons), error)) return false;
    if (source.empty()) return true;
    const std::string text = window_icon_source(draw_icon(kWindowIconSize));
    return write_file(source, Bytes(text.begin(), text.end()), error);
}

}  // namespace dalvo::mkdata
