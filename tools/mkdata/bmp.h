#pragma once
// Windows bitmap files: 24 bits a pixel, uncompressed, rows bottom-up.

#include "mkdata/canvas.h"
#include "mkdata/mkdata.h"

namespace dalvo::mkdata {

Bytes encode_bmp(const Canvas& picture);

// Little-endian writers shared by the file encoders.
void put_u16(Bytes& out, unsigned v);
void put_u32(Bytes& out, std::uint32_t v);

}  // namespace dalvo::mkdata
