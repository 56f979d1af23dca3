// Pictures in the browser build: the bitmaps through the plain decoder or SDL's own
// BMP reader, pointer files read here, PNG shots handed to the page.

#include <SDL.h>

#include <memory>
#include <vector>

#include "platform/gfx/bmp_plain.h"
#include "platform/os/file_read.h"
#include "platform/gfx/picture.h"
#include "platform/web/web_page.h"

namespace dalvo::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Through the reader that never throws: a folder where a picture should be is a
// message, as on the desktop.
bool read_file(const std::filesystem::path& file, Bytes& bytes, std::string& error) {
    std::string text;
    const ReadFault fault = read_whole_file(file, text, kMaxPictureFileBytes);
    if (fault != ReadFault::None) {
        error = file.string() + ": " + describe(fault);
        return false;
    }
    bytes.assign(text.begin(), text.end());
    return true;
}

bool sealed(std::span<const std::uint8_t> b) { return b.size() >= 2 && b[0] == 'J' && b[1] == 'F'; }

// Run-length and other rare bitmaps: SDL's reader, from a copy marked "BM" again.
bool decode_general(std::span<const std::uint8_t> bytes, Surface& out, std::string& error) {
    Bytes copy(bytes.begin(), bytes.end());
    if (copy.size() < 26 || !(sealed(copy) || (copy[0] == 'B' && copy[1] == 'M'))) {
        error = "not a Windows bitmap";
        return false;
    }
    copy[0] = 'B';
    copy[1] = 'M';
    const auto w = static_cast<std::int32_t>(le32(&copy[18]));
    const auto h = static_cast<std::int32_t>(le32(&copy[22]));
    if (le32(&copy[14]) >= 40 && (w <= 0 || w > kMaxPictureSide || h == 0 || h > kMaxPictureSide ||
                                   h < -kMaxPictureSide)) {
        error = "bad picture size " + std::to_string(w) + " x " + std::to_string(h);
        return false;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(copy.data(), static_cast<int>(copy.size()));
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> decoded(rw ? SDL_LoadBMP_RW(rw, 1) : nullptr,
                                                                     &SDL_FreeSurface);
    if (!decoded) {
        error = std::string("cannot decode the bitmap: ") + SDL_GetError();
        return false;
    }
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> rgb(
        SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGB888, 0), &SDL_FreeSurface);
    if (!rgb || rgb->w <= 0 || rgb->h <= 0 || rgb->w > kMaxPictureSide || rgb->h > kMaxPictureSide) {
        error = "bad picture size";
        return false;
    }
    out.resize(rgb->w, rgb->h);
    for (int y = 0; y < rgb->h; ++y) {
        const auto* src = reinterpret_cast<const Pixel*>(static_cast<const std::uint8_t*>(rgb->pixels) +
                                                         static_cast<std::size_t>(y) * rgb->pitch);
        for (int x = 0; x < rgb->w; ++x) out.row(y)[x] = src[x] & 0x00FFFFFF;
    }
    return true;
}

bool decode_any(std::span<const std::uint8_t> bytes, Surface& out, std::string& error) {
    if (sealed(bytes) ? decode_plain_dib(bytes, out) : decode_plain_bmp(bytes, out)) return true;
    return decode_general(bytes, out, error);
}

// One bit, row `y` (bottom-up rows of `stride` bytes from `at`), column `x`.
bool bit_at(std::span<const std::uint8_t> b, std::size_t at, std::size_t stride, int rows, int x, int y) {
    const std::size_t i = at + static_cast<std::size_t>(rows - 1 - y) * stride + static_cast<std::size_t>(x / 8);
    return i < b.size() && ((b[i] >> (7 - x % 8)) & 1) != 0;
}

}  // namespace

bool decode_picture(std::span<const std::uint8_t> bytes, Surface& out, std::string& error) {
    return decode_any(bytes, out, error);
}

bool load_picture(const std::filesystem::path& file, Surface& out, std::string& error) {
    Bytes bytes;
    if (!read_file(file, bytes, error)) return false;
    if (!decode_any(bytes, out, error)) {
        error = file.string() + ": " + error;
        return false;
    }
    return true;
}

// The first image of a .cur file: 1-, 4-, 8-, 24- or 32-bit colour over its AND mask.
bool decode_cursor(std::span<const std::uint8_t> b, Cursor& out, std::string& error) {
    if (b.size() < 22 || le16(&b[0]) != 0 || le16(&b[2]) != 2 || le16(&b[4]) < 1) {
        error = "not a cursor file";
        return false;
    }
    const std::size_t at = le32(&b[18]);
    if (at > b.size() || b.size() - at < 40 || le32(&b[at]) != 40) {
        error = "bad cursor image";
        return false;
    }
    const auto w = static_cast<std::int32_t>(le32(&b[at + 4]));
    const auto h = static_cast<std::int32_t>(le32(&b[at + 8])) / 2;  // colour and mask
    const int bits = static_cast<int>(le16(&b[at + 14]));
    if (w < 1 || w > 256 || h < 1 || h > 256 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
        error = "bad cursor size";
        return false;
    }
    std::size_t colours = le32(&b[at + 32]);
    if (colours == 0 && bits <= 8) colours = std::size_t{1} << bits;
    const std::size_t palette = at + 40;
    const std::size_t pixels = palette + (bits <= 8 ? colours * 4 : 0);
    const std::size_t stride = ((static_cast<std::size_t>(w) * bits + 31) / 32) * 4;
    const std::size_t mask = pixels + stride * static_cast<std::size_t>(h);
    const std::size_t mask_stride = ((static_cast<std::size_t>(w) + 31) / 32) * 4;
    if (mask > b.size()) {
        error = "cursor file cut short";
        return false;
    }
    Cursor result;
    result.image = Surface(w, h, kBlack);
    result.mask = Surface(w, h, kBlack);
    for (int y = 0; y < h; ++y) {
        const std::size_t row = pixels + static_cast<std::size_t>(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            Pixel colour = 0;
            bool opaque = !bit_at(b, mask, mask_stride, h, x, y);
            if (bits == 32) {
                const std::uint8_t* p = &b[row + static_cast<std::size_t>(x) * 4];
                colour = p[2] << 16 | p[1] << 8 | p[0];
                if (p[3] != 0) opaque = p[3] >= 0x80;
            } else if (bits == 24) {
                const std::uint8_t* p = &b[row + static_cast<std::size_t>(x) * 3];
                colour = p[2] << 16 | p[1] << 8 | p[0];
            } else {
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                const unsigned index = (b[row + bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index < colours && palette + index * 4 + 3 <= b.size()) {
                    const std::uint8_t* p = &b[palette + index * 4];
                    colour = p[2] << 16 | p[1] << 8 | p[0];
                }
            }
            result.image.row(y)[x] = opaque ? colour : 0;
            result.mask.row(y)[x] = opaque ? 0 : 0x00FFFFFF;
        }
    }
    result.hot_x = le16(&b[10]);
    result.hot_y = le16(&b[12]);
    out = std::move(result);
    return true;
}

bool load_cursor(const std::filesystem::path& file, Cursor& out, std::string& error) {
    Bytes bytes;
    if (!read_file(file, bytes, error)) return false;
    if (!decode_cursor(bytes, out, error)) {
        error = file.string() + ": " + error;
        return false;
    }
    return true;
}

// The page turns the pixels into a PNG and shows it as the shot named after the file.
bool save_png(const Surface& picture, const std::filesystem::path& file, std::string& error) {
    if (picture.empty()) {
        error = file.string() + ": nothing to save (empty picture)";
        return false;
    }
    page::show_shot(file.stem().string(), picture);
    return true;
}

}  // namespace dalvo::platform
