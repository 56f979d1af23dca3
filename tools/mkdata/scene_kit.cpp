// Skies, the light of the hour, and a few things several scenes share.

#include "mkdata/scene_kit.h"

#include <algorithm>

namespace dalvo::mkdata {

Rgb lit(Rgb c, Hour hour) {
    if (c == kTransparent || hour == Hour::Day) return c;
    if (hour == Hour::Snow) return mix(c, rgb(206, 214, 232), 0.14);
    auto scale = [](int v, double f) { return std::max(1, static_cast<int>(v * f)); };
    if (hour == Hour::Evening)
        return mix(rgb(scale(c.r, 0.95), scale(c.g, 0.74), scale(c.b, 0.6)), rgb(255, 140, 60), 0.12);
    return rgb(scale(c.r, 0.3), scale(c.g, 0.34), scale(c.b, 0.52));
}

void draw_sky(Canvas& c, int top, int bottom, Hour hour, std::uint32_t seed) {
    Dice dice(seed);
    const int h = bottom - top;
    switch (hour) {
    case Hour::Day:
        c.vertical_gradient(0, top, c.width(), h, rgb(84, 146, 228), rgb(204, 226, 250));
        for (int i = 0; i < 5; ++i) {
            const double x = dice.below(c.width()), y = top + 20 + dice.below(std::max(h / 2, 1));
            for (int k = 0; k < 5; ++k)
                c.fill_ellipse(x + k * 16 - 32, y - (k % 2) * 6, 26, 10 + (k % 2) * 4, rgb(246, 248, 252));
            c.fill_rect(static_cast<int>(x - 50), static_cast<int>(y + 4), 100, 4, rgb(226, 232, 244));
        }
        break;
    case Hour::Evening:
        c.vertical_gradient(0, top, c.width(), h * 2 / 3, rgb(64, 62, 128), rgb(238, 140, 96));
        c.vertical_gradient(0, top + h * 2 / 3, c.width(), h - h * 2 / 3, rgb(238, 140, 96), rgb(252, 196, 110));
        for (int i = 0; i < 4; ++i) {
            const double x = dice.below(c.width()), y = top + 30 + dice.below(std::max(h / 3, 1));
            c.fill_ellipse(x, y, 60 + dice.below(40), 5, rgb(200, 110, 120));
        }
        break;
    case Hour::Snow:
        c.vertical_gradient(0, top, c.width(), h, rgb(168, 176, 192), rgb(222, 226, 234));
        break;
    case Hour::Night:
        c.vertical_gradient(0, top, c.width(), h, rgb(8, 12, 38), rgb(34, 46, 92));
        for (int i = 0; i < 90; ++i) {
            const int x = dice.below(c.width()), y = top + dice.below(std::max(h, 1));
            c.set(x, y, mix(rgb(120, 130, 170), rgb(255, 255, 240), dice.unit()));
        }
        c.fill_circle(520, top + 50, 18, rgb(250, 246, 210));
        c.fill_circle(528, top + 44, 16, rgb(8, 12, 38));  // a crescent
        break;
    }
}

Canvas finish_scene(const Canvas& scene, Hour hour, std::uint32_t seed) {
    Canvas out(scene.width(), scene.height());
    draw_sky(out, 0, scene.height(), hour, seed);
    Canvas tinted = scene;
    for (int y = 0; y < tinted.height(); ++y)
        for (int x = 0; x < tinted.width(); ++x) tinted.set(x, y, lit(tinted.get(x, y), hour));
    out.draw(tinted, 0, 0, true);
    return out;
}

void draw_glow(Canvas& c, int x, int y, int w, int h) {
    c.blend_rect(x - 3, y - 3, w + 6, h + 6, rgb(255, 200, 120), 0.25);
    c.vertical_gradient(x, y, w, h, rgb(255, 236, 170), rgb(250, 190, 110));
}

void draw_snowfall(Canvas& c, std::uint32_t seed, int flakes) {
    Dice dice(seed);
    for (int i = 0; i < flakes; ++i) {
        // One draw after another: the order of the throws decides the picture.
        const double r = 1 + dice.unit() * 1.6;
        const int y = dice.below(c.height());
        const int x = dice.below(c.width());
        c.fill_circle(x, y, r, rgb(240, 244, 255));
    }
}

void draw_snowfall_in(Canvas& c, int x, int y, int w, int h, std::uint32_t seed, int flakes) {
    Dice dice(seed);
    for (int i = 0; i < flakes; ++i) {
        const double r = 1 + dice.unit() * 1.2;
        const int fy = y + dice.below(h);
        const int fx = x + dice.below(w);
        c.fill_circle(fx, fy, r, rgb(246, 248, 255));
    }
}

void draw_two_figures(Canvas& c, double x, double feet, double height, Rgb color) {
    const double head = height * 0.12;
    for (int i = 0; i < 2; ++i) {
        const double cx = x + i * height * 0.34;
        const double h = height * (i == 0 ? 1.0 : 0.92);
        const double top = feet - h;
        c.fill_circle(cx, top + head, head, color);
        c.fill_polygon({{cx - head * 1.3, top + head * 2.2}, {cx + head * 1.3, top + head * 2.2},
                        {cx + head * (i == 0 ? 1.2 : 2.0), feet - h * 0.3},
                        {cx - head * (i == 0 ? 1.2 : 2.0), feet - h * 0.3}},
                       color);
        c.fill_rect(static_cast<int>(cx - head * 0.9), static_cast<int>(feet - h * 0.32),
                    static_cast<int>(head * 0.7), static_cast<int>(h * 0.32), color);
        c.fill_rect(static_cast<int>(cx + head * 0.2), static_cast<int>(feet - h * 0.32),
                    static_cast<int>(head * 0.7), static_cast<int>(h * 0.32), color);
    }
    // Hands joined between them.
    c.line(x + height * 0.08, feet - height * 0.45, x + height * 0.26, feet - height * 0.43, head * 0.5, color);
}

}  // namespace dalvo::mkdata
