#pragma once
// The Windows bitmaps the game ships with, decoded without a general image library.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/gfx/surface.h"

namespace dalvo::platform {

// Larger pictures are damaged data, not pictures of this game (none is larger than its
// 640 x 480 window): a few bytes of a compressed bitmap must not cost gigabytes.
constexpr int kMaxPictureSide = 4096;
constexpr std::size_t kMaxPicturePixelBytes = std::size_t{64} << 20;
// A picture file is at most its pixels in 32 bits with a colour table and headers.
constexpr std::size_t kMaxPictureFileBytes = kMaxPicturePixelBytes + (std::size_t{1} << 20);

// Whether a picture of w x h (either may be negative, as a bitmap header gives it)
// may be decoded: judged before any pixel is allocated.
constexpr bool picture_size_allowed(std::int64_t w, std::int64_t h) {
    if (h < 0) h = -h;
    return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide &&
           static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) * 4 <= kMaxPicturePixelBytes;
}

// Little-endian fields of the Windows file headers (bitmaps and pointer files).
inline std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint32_t le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

// Decodes an uncompressed 8-, 24- or 32-bit bitmap ("BM" already in place) straight into
// `out`, which takes its size. Returns false and leaves `out` alone for every other kind
// of file, damaged ones included: the general decoder then gives the verdict.
bool decode_plain_bmp(std::span<const std::uint8_t> bytes, Surface& out);
// The same for a file whose two-byte mark the caller has judged already (a sealed
// picture carries another mark than "BM"); the mark itself is not looked at.
bool decode_plain_dib(std::span<const std::uint8_t> bytes, Surface& out);

}  // namespace dalvo::platform
