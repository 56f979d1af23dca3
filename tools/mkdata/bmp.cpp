// The bitmap writer. The game reads these with the platform's picture decoder and
// seals the numbered ones in place, so the layout stays the plainest one there is.

#include "mkdata/bmp.h"

namespace dalvo::mkdata {

void put_u16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put_u32(Bytes& out, std::uint32_t v) {
    put_u16(out, v & 0xFFFF);
    put_u16(out, v >> 16);
}

Bytes encode_bmp(const Canvas& picture) {
    const int w = picture.width(), h = picture.height();
    const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
    const std::uint32_t image_size = stride * static_cast<std::uint32_t>(h);
    constexpr std::uint32_t kHeaders = 14 + 40;

    Bytes out;
    out.reserve(kHeaders + image_size);
    // File header.
    out.push_back('B');
    out.push_back('M');
    put_u32(out, kHeaders + image_size);
    put_u32(out, 0);
    put_u32(out, kHeaders);
    // Info header.
    put_u32(out, 40);
    put_u32(out, static_cast<std::uint32_t>(w));
    put_u32(out, static_cast<std::uint32_t>(h));  // positive: bottom-up
    put_u16(out, 1);
    put_u16(out, 24);
    put_u32(out, 0);  // BI_RGB
    put_u32(out, image_size);
    put_u32(out, 2835);  // 72 dpi
    put_u32(out, 2835);
    put_u32(out, 0);
    put_u32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb p = picture.get(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(w) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace dalvo::mkdata
