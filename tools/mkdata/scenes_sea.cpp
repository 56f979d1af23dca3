// The sea: horizon, waves and the beach, by day, at sunset and at night.

#include "mkdata/scene_kit.h"

namespace dalvo::mkdata {

Canvas draw_sea(Hour hour) {
    constexpr int kW = 640, kH = 320, kHorizon = 168;
    Canvas out(kW, kH);
    draw_sky(out, 0, kHorizon, hour, 41);
    if (hour == Hour::Evening) out.fill_circle(380, kHorizon - 6, 26, rgb(255, 226, 150));

    const Rgb sea_far = hour == Hour::Day ? rgb(60, 130, 190) : hour == Hour::Evening ? rgb(150, 96, 110) : rgb(16, 26, 60);
    const Rgb sea_near = hour == Hour::Day ? rgb(40, 96, 160) : hour == Hour::Evening ? rgb(90, 60, 96) : rgb(10, 18, 44);
    out.vertical_gradient(0, kHorizon, kW, kH - kHorizon, sea_far, sea_near);
    // A path of light on the water under the sun or the moon.
    if (hour != Hour::Day) {
        const double cx = hour == Hour::Evening ? 380 : 520;
        const Rgb glint = hour == Hour::Evening ? rgb(255, 210, 140) : rgb(220, 220, 190);
        for (int i = 0; i < 14; ++i) {
            const double y = kHorizon + 4 + i * 6.5, half = 8 + i * 3;
            out.fill_rect(static_cast<int>(cx - half), static_cast<int>(y), static_cast<int>(2 * half), 2, glint);
        }
    }
    Dice dice(42);
    for (int i = 0; i < 60; ++i) {
        const int y = kHorizon + 6 + dice.below(84), len = 10 + dice.below(30);
        out.fill_rect(dice.below(kW), y, len, 1, lit(rgb(200, 226, 246), hour));
    }
    // Surf and sand.
    std::vector<Point> shore{{0, 262}};
    for (int x = 0; x <= kW; x += 20) shore.push_back({double(x), 256.0 + 6 * ((x / 20) % 3)});
    shore.push_back({double(kW), double(kH)});
    shore.push_back({0, double(kH)});
    out.fill_polygon(shore, lit(rgb(250, 250, 246), hour));
    for (auto& p : shore) p.y += 6;
    shore.back().y = kH;
    shore[shore.size() - 2].y = kH;
    out.fill_polygon(shore, lit(rgb(226, 206, 164), hour));
    for (int i = 0; i < 120; ++i) {
        const int y = 270 + dice.below(50);
        out.set(dice.below(kW), y, lit(rgb(196, 176, 136), hour));
    }
    // A breakwater running out to the left.
    out.fill_polygon({{0, 196}, {170, 204}, {170, 214}, {0, 226}}, lit(rgb(170, 168, 160), hour));
    out.fill_rect(160, 170, 8, 36, lit(rgb(220, 60, 50), hour));  // the little lighthouse
    out.fill_rect(158, 166, 12, 6, lit(rgb(240, 240, 240), hour));
    return out;
}

}  // namespace dalvo::mkdata
