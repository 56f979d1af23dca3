// The software picture and its block transfers.

#include "platform/surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/font.h"

namespace dalvo::platform {

namespace {

Pixel* allocate_pixels(std::size_t count, bool zeroed) {
    if (count == 0) return nullptr;
    void* block = zeroed ? std::calloc(count, sizeof(Pixel)) : std::malloc(count * sizeof(Pixel));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<Pixel*>(block);
}

}  // namespace

void PixelStore::Free::operator()(Pixel* p) const { std::free(p); }

PixelStore::PixelStore(std::size_t count, Pixel fill)
    : data_(allocate_pixels(count, fill == 0)), size_(count) {
    if (fill != 0) std::fill(begin(), end(), fill);
}

PixelStore PixelStore::for_overwrite(std::size_t count) {
    PixelStore store;
    store.data_.reset(allocate_pixels(count, false));
    store.size_ = count;
    return store;
}

PixelStore::PixelStore(const PixelStore& other)
    : data_(allocate_pixels(other.size_, false)), size_(other.size_) {
    if (size_ != 0) std::memcpy(data(), other.data(), size_ * sizeof(Pixel));
}

PixelStore& PixelStore::operator=(const PixelStore& other) {
    if (this != &other) *this = PixelStore(other);
    return *this;
}

bool PixelStore::operator==(const PixelStore& other) const {
    return size_ == other.size_ && (size_ == 0 || std::memcmp(data(), other.data(), size_ * sizeof(Pixel)) == 0);
}

Surface::Surface(int width, int height, Color fill)
    : back_color(fill),
      width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, to_pixel(fill)) {}

void Surface::resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    PixelStore next(static_cast<std::size_t>(width) * height, to_pixel(back_color));
    const int keep_w = std::min(width, width_);
    // No row to keep when either width is zero (the store then has no block at all).
    const int keep_h = keep_w > 0 ? std::min(height, height_) : 0;
    for (int y = 0; y < keep_h; ++y) {
        std::memcpy(next.data() + static_cast<std::size_t>(y) * width, row(y),
                    static_cast<std::size_t>(keep_w) * sizeof(Pixel));
    }
    pixels_ = std::move(next);
    width_ = width;
    height_ = height;
}

void Surface::reshape_for_overwrite(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width != width_ || height != height_) {
        pixels_ = PixelStore::for_overwrite(static_cast<std::size_t>(width) * height);
        width_ = width;
        height_ = height;
    }
}

Color Surface::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
    return to_color(row(y)[x]);
}

void Surface::set(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    row(y)[x] = to_pixel(c);
}

void Surface::clear() { std::fill(pixels_.begin(), pixels_.end(), to_pixel(back_color)); }

void Surface::fill_rect(int x, int y, int w, int h, Color c) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
    if (x0 >= x1 || y0 >= y1) return;
    const Pixel p = to_pixel(c);
    for (int yy = y0; yy < y1; ++yy) std::fill(row(yy) + x0, row(yy) + x1, p);
}

// Like the original's line drawing, the end point itself is not drawn, so that
// joined lines do not paint their corners twice.
void Surface::draw_line(int x1, int y1, int x2, int y2, Color c) {
    const Pixel p = to_pixel(c);
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int step_x = x1 < x2 ? 1 : -1, step_y = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    while (x != x2 || y != y2) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) row(y)[x] = p;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += step_x;
        }
        if (e2 <= dx) {
            err += dx;
            y += step_y;
        }
    }
}

void Surface::draw_rect(int x, int y, int w, int h, Color c) {
    if (w <= 0 || h <= 0) return;
    fill_rect(x, y, w, 1, c);
    fill_rect(x, y + h - 1, w, 1, c);
    fill_rect(x, y, 1, h, c);
    fill_rect(x + w - 1, y, 1, h, c);
}

void Surface::draw_text(int x, int y, const std::string& utf8) {
    platform::draw_text(*this, x, y, utf8, font, fore_color);
}

namespace {

// One row of a transfer. `dst` and `src` may overlap only when they lie on the
// same surface row; then `backwards` says to walk right to left.
void blt_row(Pixel* dst, const Pixel* src, int n, Rop rop, bool backwards) {
    switch (rop) {
        case Rop::SrcCopy:
            std::memmove(dst, src, static_cast<std::size_t>(n) * sizeof(Pixel));
            return;
        case Rop::SrcAnd:
            if (backwards) {
                for (int i = n - 1; i >= 0; --i) dst[i] &= src[i];
            } else {
                for (int i = 0; i < n; ++i) dst[i] &= src[i];
            }
            return;
        case Rop::SrcInvert:
            if (backwards) {
                for (int i = n - 1; i >= 0; --i) dst[i] ^= src[i];
            } else {
                for (int i = 0; i < n; ++i) dst[i] ^= src[i];
            }
            return;
    }
}

// The same, when the rows are known not to overlap: lets the compiler vectorise.
void blt_row_disjoint(Pixel* __restrict dst, const Pixel* __restrict src, int n, Rop rop) {
    switch (rop) {
        case Rop::SrcCopy:
            std::memcpy(dst, src, static_cast<std::size_t>(n) * sizeof(Pixel));
            return;
        case Rop::SrcAnd:
            for (int i = 0; i < n; ++i) dst[i] &= src[i];
            return;
        case Rop::SrcInvert:
            for (int i = 0; i < n; ++i) dst[i] ^= src[i];
            return;
    }
}

}  // namespace

void bit_blt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
             Rop rop) {
    // Clip the source rectangle, then the destination, moving the other corner along.
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    w = std::min({w, src.width() - sx, dst.width() - dx});
    h = std::min({h, src.height() - sy, dst.height() - dy});
    if (w <= 0 || h <= 0) return;

    if (&dst != &src) {
        for (int y = 0; y < h; ++y) blt_row_disjoint(dst.row(dy + y) + dx, src.row(sy + y) + sx, w, rop);
        return;
    }
    // A surface onto itself: walk rows and columns so that no source pixel is
    // overwritten before it is read.
    const bool bottom_up = dy > sy;
    const bool backwards = dy == sy && dx > sx;
    for (int i = 0; i < h; ++i) {
        const int y = bottom_up ? h - 1 - i : i;
        blt_row(dst.row(dy + y) + dx, src.row(sy + y) + sx, w, rop, backwards);
    }
}

void stretch_blt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx,
                 int sy, int sw, int sh, Rop rop) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (dw == sw && dh == sh) {
        bit_blt(dst, dx, dy, dw, dh, src, sx, sy, rop);
        return;
    }
    // Each destination pixel samples the source pixel under its centre. Reading
    // through a copy keeps a stretch of a surface onto itself well defined.
    Surface copy;
    const Surface* from = &src;
    if (&dst == &src) {
        copy = src;
        from = &copy;
    }
    const int x0 = std::max(dx, 0), y0 = std::max(dy, 0);
    const int x1 = std::min(dx + dw, dst.width()), y1 = std::min(dy + dh, dst.height());
    for (int y = y0; y < y1; ++y) {
        const std::int64_t src_y =
            sy + (static_cast<std::int64_t>(2 * (y - dy) + 1) * sh) / (2 * static_cast<std::int64_t>(dh));
        if (src_y < 0 || src_y >= from->height()) continue;
        const Pixel* srow = from->row(static_cast<int>(src_y));
        Pixel* drow = dst.row(y);
        for (int x = x0; x < x1; ++x) {
            const std::int64_t src_x =
                sx + (static_cast<std::int64_t>(2 * (x - dx) + 1) * sw) / (2 * static_cast<std::int64_t>(dw));
            if (src_x < 0 || src_x >= from->width()) continue;
            const Pixel s = srow[src_x];
            switch (rop) {
                case Rop::SrcCopy: drow[x] = s; break;
                case Rop::SrcAnd: drow[x] &= s; break;
                case Rop::SrcInvert: drow[x] ^= s; break;
            }
        }
    }
}

}  // namespace dalvo::platform
