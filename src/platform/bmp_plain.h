#pragma once
// The Windows bitmaps the game ships with, decoded without a general image library.

#include <cstdint>
#include <span>

#include "platform/surface.h"

namespace dalvo::platform {

// Larger pictures are damaged data, not pictures of this game.
constexpr int kMaxPictureSide = 8192;

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
