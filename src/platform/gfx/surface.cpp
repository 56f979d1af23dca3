// The software picture and its block transfers.

#include "platform/gfx/surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

#include "platform/gfx/geometry.h"

#include "platform/gfx/font.h"

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

Surface::Surface(const Surface& other)
    : back_color(other.back_color), fore_color(other.fore_color), font(other.font), width_(other.width_),
      height_(other.height_), pixels_(other.pixels_) {}

Surface::Surface(Surface&& other) noexcept
    : back_color(other.back_color), fore_color(other.fore_color), font(std::move(other.font)),
      width_(other.width_), height_(other.height_), pixels_(std::move(other.pixels_)) {
    other.width_ = other.height_ = 0;
}

Surface& Surface::operator=(const Surface& other) {
    if (this != &other) *this = Surface(other);
    return *this;
}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this == &other) return *this;
    back_color = other.back_color;
    fore_color = other.fore_color;
    font = std::move(other.font);
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = std::move(other.pixels_);
    other.width_ = other.height_ = 0;
    return *this;
}

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

// The one place a raster operation is applied: `n` pixels of a row. `dst` and `src`
// overlap only when `same` (one surface row); then `backwards` walks right to left.
// Rows that cannot overlap take the plain loop, which the compiler vectorises.
template <Rop kRop>
inline void raster_row(Pixel* dst, const Pixel* src, int n, bool same, bool backwards) {
    auto apply = [](Pixel d, Pixel s) {
        if constexpr (kRop == Rop::SrcCopy) return s;
        else if constexpr (kRop == Rop::SrcAnd) return d & s;
        else return d ^ s;
    };
    if (!same) {
        Pixel* __restrict out = dst;
        const Pixel* __restrict in = src;
        if constexpr (kRop == Rop::SrcCopy) {
            std::memcpy(out, in, static_cast<std::size_t>(n) * sizeof(Pixel));
        } else {
            for (int i = 0; i < n; ++i) out[i] = apply(out[i], in[i]);
        }
    } else if constexpr (kRop == Rop::SrcCopy) {
        std::memmove(dst, src, static_cast<std::size_t>(n) * sizeof(Pixel));
    } else if (backwards) {
        for (int i = n - 1; i >= 0; --i) dst[i] = apply(dst[i], src[i]);
    } else {
        for (int i = 0; i < n; ++i) dst[i] = apply(dst[i], src[i]);
    }
}

// Calls `f` with the raster operation as a compile-time value.
template <class F>
void with_rop(Rop rop, F&& f) {
    switch (rop) {
        case Rop::SrcCopy: f(std::integral_constant<Rop, Rop::SrcCopy>{}); return;
        case Rop::SrcAnd: f(std::integral_constant<Rop, Rop::SrcAnd>{}); return;
        case Rop::SrcInvert: f(std::integral_constant<Rop, Rop::SrcInvert>{}); return;
    }
}

}  // namespace

void bit_blt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
             Rop rop) {
    // The part of the destination that is inside it and whose source is inside the source.
    const Rect wanted{dx, dy, w, h};
    const Rect source_there = Rect{0, 0, src.width(), src.height()}.translated(dx - sx, dy - sy);
    const Rect d = intersect(intersect(wanted, {0, 0, dst.width(), dst.height()}), source_there);
    if (d.empty()) return;
    sx += d.x - dx;
    sy += d.y - dy;
    // A surface onto itself: walk rows and columns so that no source pixel is
    // overwritten before it is read.
    const bool same = &dst == &src;
    const bool bottom_up = same && d.y > sy;
    const bool backwards = same && d.y == sy && d.x > sx;
    with_rop(rop, [&](auto op) {
        for (int i = 0; i < d.h; ++i) {
            const int y = bottom_up ? d.h - 1 - i : i;
            raster_row<op()>(dst.row(d.y + y) + d.x, src.row(sy + y) + sx, d.w, same, backwards);
        }
    });
}

void stretch_blt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx,
                 int sy, int sw, int sh, Rop rop) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    if (dw == sw && dh == sh) {
        bit_blt(dst, dx, dy, dw, dh, src, sx, sy, rop);
        return;
    }
    // Each destination pixel samples the source pixel under its centre, gathered into a
    // row first, so that a stretch of a surface onto itself reads only what it had.
    Surface copy;
    const Surface* from = &src;
    if (&dst == &src) {
        copy = src;
        from = &copy;
    }
    const Rect d = intersect({dx, dy, dw, dh}, {0, 0, dst.width(), dst.height()});
    std::vector<Pixel> gathered;
    for (int y = d.y; y < d.bottom(); ++y) {
        const std::int64_t src_y =
            sy + (static_cast<std::int64_t>(2 * (y - dy) + 1) * sh) / (2 * static_cast<std::int64_t>(dh));
        if (src_y < 0 || src_y >= from->height()) continue;
        const Pixel* srow = from->row(static_cast<int>(src_y));
        // Runs of columns whose source lies inside the source surface.
        int x = d.x;
        while (x < d.right()) {
            gathered.clear();
            const int run_start = x;
            for (; x < d.right(); ++x) {
                const std::int64_t src_x =
                    sx + (static_cast<std::int64_t>(2 * (x - dx) + 1) * sw) / (2 * static_cast<std::int64_t>(dw));
                if (src_x < 0 || src_x >= from->width()) break;
                gathered.push_back(srow[src_x]);
            }
            if (!gathered.empty()) {
                with_rop(rop, [&](auto op) {
                    raster_row<op()>(dst.row(y) + run_start, gathered.data(), static_cast<int>(gathered.size()),
                                     false, false);
                });
            }
            if (x < d.right()) ++x;  // the column outside the source is skipped
        }
    }
}

}  // namespace dalvo::platform
