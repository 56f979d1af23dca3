#pragma once
// The Windows bitmaps the game ships with, decoded without a general image library.

#include <cstdint>
#include <span>

#include "platform/surface.h"

namespace dalvo::platform {

// Decodes an uncompressed 8-, 24- or 32-bit bitmap ("BM" already in place) straight into
// `out`, which takes its size. Returns false and leaves `out` alone for every other kind
// of file, damaged ones included: the general decoder then gives the verdict.
bool decode_plain_bmp(std::span<const std::uint8_t> bytes, Surface& out);

}  // namespace dalvo::platform
