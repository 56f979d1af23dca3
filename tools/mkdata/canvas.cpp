// Filled shapes on an RGB canvas, sampled at pixel centres.

#include "mkdata/canvas.h"

#include <algorithm>
#include <cmath>

namespace dalvo::mkdata {

namespace {
std::uint8_t channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}
}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
    return Rgb{channel(a.r + (b.r - a.r) * t), channel(a.g + (b.g - a.g) * t),
               channel(a.b + (b.b - a.b) * t)};
}

Rgb shade(Rgb c, double amount) {
    return amount >= 0 ? mix(c, rgb(255, 255, 255), amount) : mix(c, kInk, -amount);
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

Rgb Canvas::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kTransparent;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void Canvas::set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
}

void Canvas::blend(int x, int y, Rgb c, double a) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Rgb& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
    p = mix(p, c, a);
}

void Canvas::fill_rect(int x, int y, int w, int h, Rgb c) {
    const int x0 = std::max(x, 0), x1 = std::min(x + w, width_);
    const int y0 = std::max(y, 0), y1 = std::min(y + h, height_);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) pixels_[static_cast<std::size_t>(yy) * width_ + xx] = c;
}

void Canvas::blend_rect(int x, int y, int w, int h, Rgb c, double a) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) blend(xx, yy, c, a);
}

void Canvas::frame_rect(int x, int y, int w, int h, Rgb c) {
    fill_rect(x, y, w, 1, c);
    fill_rect(x, y + h - 1, w, 1, c);
    fill_rect(x, y, 1, h, c);
    fill_rect(x + w - 1, y, 1, h, c);
}

void Canvas::fill_round_rect(int x, int y, int w, int h, int radius, Rgb c) {
    const int r = std::min({radius, w / 2, h / 2});
    fill_rect(x + r, y, w - 2 * r, h, c);
    fill_rect(x, y + r, w, h - 2 * r, c);
    fill_circle(x + r, y + r, r, c);
    fill_circle(x + w - r, y + r, r, c);
    fill_circle(x + r, y + h - r, r, c);
    fill_circle(x + w - r, y + h - r, r, c);
}

void Canvas::vertical_gradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
    for (int i = 0; i < h; ++i) fill_rect(x, y + i, w, 1, mix(top, bottom, h > 1 ? double(i) / (h - 1) : 0));
}

void Canvas::fill_circle(double cx, double cy, double r, Rgb c) { fill_ellipse(cx, cy, r, r, c); }

void Canvas::fill_ellipse(double cx, double cy, double rx, double ry, Rgb c) {
    if (rx <= 0 || ry <= 0) return;
    const int y0 = static_cast<int>(std::floor(cy - ry)), y1 = static_cast<int>(std::ceil(cy + ry));
    for (int y = y0; y <= y1; ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        if (dy * dy > 1) continue;
        const double half = rx * std::sqrt(1 - dy * dy);
        const int xa = static_cast<int>(std::ceil(cx - half - 0.5));
        const int xb = static_cast<int>(std::floor(cx + half - 0.5));
        if (xb >= xa) fill_rect(xa, y, xb - xa + 1, 1, c);
    }
}

void Canvas::fill_polygon(const std::vector<Point>& pts, Rgb c) {
    if (pts.size() < 3) return;
    double top = pts[0].y, bottom = pts[0].y;
    for (const Point& p : pts) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<double> xs;
    for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(bottom)); ++y) {
        const double sy = y + 0.5;
        xs.clear();
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const Point& a = pts[i];
            const Point& b = pts[(i + 1) % pts.size()];
            if ((a.y <= sy) == (b.y <= sy)) continue;
            xs.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
            const int xa = static_cast<int>(std::ceil(xs[i] - 0.5));
            const int xb = static_cast<int>(std::floor(xs[i + 1] - 0.5));
            if (xb >= xa) fill_rect(xa, y, xb - xa + 1, 1, c);
        }
    }
}

void Canvas::line(double x0, double y0, double x1, double y1, double thickness, Rgb c) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double len = std::hypot(dx, dy);
    if (len == 0) {
        fill_circle(x0, y0, thickness / 2, c);
        return;
    }
    const double nx = -dy / len * thickness / 2, ny = dx / len * thickness / 2;
    fill_polygon({{x0 + nx, y0 + ny}, {x1 + nx, y1 + ny}, {x1 - nx, y1 - ny}, {x0 - nx, y0 - ny}}, c);
}

void Canvas::draw(const Canvas& src, int x, int y, bool keyed) {
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx) {
            const Rgb p = src.get(sx, sy);
            if (keyed && p == kTransparent) continue;
            set(x + sx, y + sy, p);
        }
}

Canvas Canvas::crop(int x, int y, int w, int h) const {
    Canvas out(w, h);
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) out.set(xx, yy, get(x + xx, y + yy));
    return out;
}

Canvas Canvas::mirrored() const {
    Canvas out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.set(width_ - 1 - x, y, get(x, y));
    return out;
}

std::uint32_t Dice::next() {
    // xorshift32: small, and the same on every machine.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

}  // namespace dalvo::mkdata
