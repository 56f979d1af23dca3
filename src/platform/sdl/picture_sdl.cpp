// Pictures over SDL2_image: Windows bitmaps (sealed or not), the pointer file, PNG output.

#include <SDL.h>
#include <SDL_image.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/bmp_plain.h"
#include "platform/os/file_read.h"
#include "platform/os/mapped_file.h"
#include "platform/gfx/picture.h"

namespace dalvo::platform {
namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SurfaceFree>;

// Checks the bitmap headers before the decoder sees them, so that a damaged file
// fails with a reason instead of an enormous allocation.
bool check_bitmap_header(std::span<const std::uint8_t> b, std::string& error) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') {
        error = "not a Windows bitmap";
        return false;
    }
    const std::uint32_t header = le32(&b[14]);
    std::int64_t w = 0, h = 0;
    if (header == 12) {
        w = le16(&b[18]);
        h = le16(&b[20]);
    } else if (header >= 40) {
        w = static_cast<std::int32_t>(le32(&b[18]));
        h = static_cast<std::int32_t>(le32(&b[22]));
    } else {
        error = "unknown bitmap header";
        return false;
    }
    if (!picture_size_allowed(w, h)) {
        error = "bad picture size " + std::to_string(w) + " x " + std::to_string(h < 0 ? -h : h);
        return false;
    }
    return true;
}

// Copies an SDL picture of any format into `out` as 32-bit pixels; on failure
// `out` is untouched. Only the pixels change: the surface keeps its colours and font.
bool to_surface(SDL_Surface* in, Surface& out, std::string& error) {
    if (!picture_size_allowed(in->w, in->h)) {
        error = "bad picture size";
        return false;
    }
    SdlSurface rgb(SDL_ConvertSurfaceFormat(in, SDL_PIXELFORMAT_RGB888, 0));
    if (!rgb) {
        error = SDL_GetError();
        return false;
    }
    out.resize(rgb->w, rgb->h);
    for (int y = 0; y < rgb->h; ++y) {
        const auto* src = reinterpret_cast<const Pixel*>(static_cast<const std::uint8_t*>(rgb->pixels) +
                                                         static_cast<std::size_t>(y) * rgb->pitch);
        Pixel* dst = out.row(y);
        // The reserved byte stays zero, as in the original's bitmaps.
        for (int x = 0; x < rgb->w; ++x) dst[x] = src[x] & 0x00FFFFFF;
    }
    return true;
}

// The bytes of a file no mapping could take (empty, not a regular file, unreadable).
bool read_file(const std::filesystem::path& file, std::string& bytes, std::string& error) {
    const ReadFault fault = read_whole_file(file, bytes, kMaxPictureFileBytes);
    if (fault != ReadFault::None) {
        error = file.string() + ": " + describe(fault);
        return false;
    }
    return true;
}

std::span<const std::uint8_t> as_bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

bool sealed(std::span<const std::uint8_t> b) { return b.size() >= 2 && b[0] == 'J' && b[1] == 'F'; }

// Every bitmap the plain decoder leaves, from a copy whose mark is put back to "BM".
bool decode_general(std::span<const std::uint8_t> bytes, Surface& out, std::string& error) {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    if (sealed(copy)) {
        copy[0] = 'B';
        copy[1] = 'M';
    }
    if (!check_bitmap_header(copy, error)) return false;
    SDL_RWops* rw = SDL_RWFromConstMem(copy.data(), static_cast<int>(copy.size()));
    if (rw == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SdlSurface decoded(IMG_LoadTyped_RW(rw, 1, "BMP"));
    if (!decoded) {
        error = std::string("cannot decode the bitmap: ") + IMG_GetError();
        return false;
    }
    return to_surface(decoded.get(), out, error);
}

// A sealed picture differs from a bitmap only in its first two bytes.
bool decode_any(std::span<const std::uint8_t> bytes, Surface& out, std::string& error) {
    if (bytes.size() > kMaxPictureFileBytes) {
        error = "file too large for a picture";
        return false;
    }
    if (sealed(bytes) ? decode_plain_dib(bytes, out) : decode_plain_bmp(bytes, out)) return true;
    return decode_general(bytes, out, error);
}

}  // namespace

bool decode_picture(std::span<const std::uint8_t> bytes, Surface& out, std::string& error) {
    return decode_any(bytes, out, error);
}

bool load_picture(const std::filesystem::path& file, Surface& out, std::string& error) {
    // Decoded straight from a mapping of the file: no copy of it is kept in between.
    const MappedFile mapped(file);
    bool ok = false;
    if (mapped.ok()) {
        ok = decode_any(mapped.bytes(), out, error);
    } else {
        std::string bytes;
        if (!read_file(file, bytes, error)) return false;
        ok = decode_any(as_bytes(bytes), out, error);
    }
    if (!ok) error = file.string() + ": " + error;
    return ok;
}

bool decode_cursor(std::span<const std::uint8_t> bytes, Cursor& out, std::string& error) {
    // ICONDIR (reserved 0, type 2 = cursor, count) and the first ICONDIRENTRY,
    // whose planes/bit-count fields hold the hot spot in a cursor file.
    if (bytes.size() < 22 || le16(&bytes[0]) != 0 || le16(&bytes[2]) != 2 || le16(&bytes[4]) < 1) {
        error = "not a cursor file";
        return false;
    }
    // The decoder allocates what each image header asks for: refuse sizes no pointer has.
    for (std::size_t entry = 6; entry + 16 <= bytes.size() && (entry - 6) / 16 < std::size_t(le16(&bytes[4]));
         entry += 16) {
        const std::size_t at = le32(&bytes[entry + 12]);
        if (at > bytes.size() || bytes.size() - at < 12 || le32(&bytes[at]) != 40) continue;
        const auto w = static_cast<std::int32_t>(le32(&bytes[at + 4]));
        const auto h = static_cast<std::int32_t>(le32(&bytes[at + 8]));
        if (w < 1 || w > 256 || h < -512 || h > 512) {
            error = "bad cursor size";
            return false;
        }
    }
    const int hot_x = le16(&bytes[10]);
    const int hot_y = le16(&bytes[12]);
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SdlSurface decoded(IMG_LoadCUR_RW(rw));
    SDL_RWclose(rw);
    if (!decoded) {
        error = std::string("cannot decode the cursor: ") + IMG_GetError();
        return false;
    }
    SdlSurface argb(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!argb || argb->w <= 0 || argb->h <= 0 || argb->w > 256 || argb->h > 256) {
        error = "bad cursor image";
        return false;
    }
    Cursor result;
    result.image = Surface(argb->w, argb->h, kBlack);
    result.mask = Surface(argb->w, argb->h, kBlack);
    for (int y = 0; y < argb->h; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                                static_cast<std::size_t>(y) * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            const bool opaque = (src[x] >> 24) >= 0x80;
            result.image.row(y)[x] = opaque ? (src[x] & 0x00FFFFFF) : 0;
            result.mask.row(y)[x] = opaque ? 0 : 0x00FFFFFF;
        }
    }
    result.hot_x = hot_x;
    result.hot_y = hot_y;
    out = std::move(result);
    return true;
}

bool load_cursor(const std::filesystem::path& file, Cursor& out, std::string& error) {
    std::string bytes;
    if (!read_file(file, bytes, error)) return false;
    if (!decode_cursor(as_bytes(bytes), out, error)) {
        error = file.string() + ": " + error;
        return false;
    }
    return true;
}

bool save_png(const Surface& picture, const std::filesystem::path& file, std::string& error) {
    if (picture.empty()) {
        error = file.string() + ": nothing to save (empty picture)";
        return false;
    }
    // SDL only reads through this pointer while saving.
    SdlSurface view(SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<Pixel*>(picture.data()), picture.width(), picture.height(), 32,
        picture.width() * static_cast<int>(sizeof(Pixel)), SDL_PIXELFORMAT_RGB888));
    if (!view) {
        error = file.string() + ": " + SDL_GetError();
        return false;
    }
    // SDL takes UTF-8 names on every system.
    const std::u8string name = file.u8string();
    if (IMG_SavePNG(view.get(), reinterpret_cast<const char*>(name.c_str())) != 0) {
        error = file.string() + ": " + IMG_GetError();
        return false;
    }
    return true;
}

}  // namespace dalvo::platform
