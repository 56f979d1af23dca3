#pragma once
// A tiny drawing kit for the bundled pictures: an RGB canvas with filled shapes.
// Edges are hard (no smoothing): pure black is the transparent colour of sprites and
// faces, and a smoothed edge would leave a dark fringe around them on the stage.

#include <cstdint>
#include <vector>

namespace dalvo::mkdata {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb rgb(int r, int g, int b) {
    return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
               static_cast<std::uint8_t>(b)};
}
// The colour a share t (0..1) of the way from a to b.
Rgb mix(Rgb a, Rgb b, double t);
// Lighter (amount > 0) or darker (amount < 0) by a share of the way to white or black.
Rgb shade(Rgb c, double amount);

inline constexpr Rgb kTransparent = rgb(0, 0, 0);
// The darkest colour a sprite may use: it must never be read as transparent.
inline constexpr Rgb kInk = rgb(24, 20, 30);

struct Point {
    double x = 0, y = 0;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb fill = kTransparent);

    int width() const { return width_; }
    int height() const { return height_; }

    Rgb get(int x, int y) const;    // black outside
    void set(int x, int y, Rgb c);  // ignored outside
    // Mixes c over the pixel with opacity a (0..1).
    void blend(int x, int y, Rgb c, double a);

    void fill(Rgb c) { fill_rect(0, 0, width_, height_, c); }
    void fill_rect(int x, int y, int w, int h, Rgb c);
    void blend_rect(int x, int y, int w, int h, Rgb c, double a);
    void frame_rect(int x, int y, int w, int h, Rgb c);  // one-pixel outline
    void fill_round_rect(int x, int y, int w, int h, int radius, Rgb c);
    // Top row in `top`, bottom row in `bottom`, straight steps between.
    void vertical_gradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
    void fill_circle(double cx, double cy, double r, Rgb c);
    void fill_ellipse(double cx, double cy, double rx, double ry, Rgb c);
    // Even-odd fill, sampled at pixel centres.
    void fill_polygon(const std::vector<Point>& points, Rgb c);
    void line(double x0, double y0, double x1, double y1, double thickness, Rgb c);

    // Copies `src` with its top-left corner at (x, y); with `keyed`, black pixels of
    // `src` leave the canvas as it is.
    void draw(const Canvas& src, int x, int y, bool keyed = false);
    Canvas crop(int x, int y, int w, int h) const;
    Canvas mirrored() const;  // left-right

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// A repeatable pseudo-random sequence, so every build draws the same pictures.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t next();
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    double unit() { return (next() >> 8) / 16777216.0; }

private:
    std::uint32_t state_;
};

}  // namespace dalvo::mkdata
