// Bitmap routines. Surfaces hold 0x00RRGGBB pixels top-down, so a pixel array row
// is a surface row copied as it is, only the row order flips.

#include "stage/bitmap.h"

#include <algorithm>
#include <cstring>

namespace dalvo {

using platform::Pixel;
using platform::Surface;

namespace {
constexpr Pixel kMaskWhite = 0x00FFFFFF;
constexpr Pixel kMaskBlack = 0x00000000;
constexpr Pixel kRgbBits = 0x00FFFFFF;
}  // namespace

void Make_mask(Surface& dst, const Surface& src, int sx, int sy, int w, int h) {
    const int cols = std::min(w, dst.width());
    const int rows = std::min(h, dst.height());
    for (int y = 0; y < rows; ++y) {
        Pixel* out = dst.row(y);
        const int src_y = sy + y;
        if (src_y < 0 || src_y >= src.height()) {
            std::fill(out, out + cols, kMaskBlack);
            continue;
        }
        const Pixel* in = src.row(src_y);
        for (int x = 0; x < cols; ++x) {
            const int src_x = sx + x;
            const bool key = src_x >= 0 && src_x < src.width() && (in[src_x] & kRgbBits) == 0;
            out[x] = key ? kMaskWhite : kMaskBlack;
        }
    }
}

int Get_pixels(const Surface& s, std::vector<std::uint32_t>& px) {
    if (s.empty()) {
        px.assign(1, 0);
        return -1;
    }
    const int w = s.width(), h = s.height();
    const std::size_t count = static_cast<std::size_t>(w) * h;
    px.resize(count + 1);
    for (int r = 0; r < h; ++r) {
        std::memcpy(px.data() + static_cast<std::size_t>(r) * w, s.row(h - 1 - r), w * sizeof(Pixel));
    }
    px[count] = 0;
    return static_cast<int>(count);
}

int Put_pixels(Surface& s, const std::vector<std::uint32_t>& px) {
    if (s.empty()) return -1;
    const int w = s.width(), h = s.height();
    if (px.size() < static_cast<std::size_t>(w) * h) return -1;
    for (int r = 0; r < h; ++r) {
        std::memcpy(s.row(h - 1 - r), px.data() + static_cast<std::size_t>(r) * w, w * sizeof(Pixel));
    }
    s.refresh();
    return 0;
}

void Set_client_size(platform::Form& form, int w, int h) { form.set_client_size(w, h); }

}  // namespace dalvo
