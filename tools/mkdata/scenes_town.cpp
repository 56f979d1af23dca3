// The town: a residential street and the station platform.

#include "mkdata/scene_kit.h"

namespace dalvo::mkdata {
namespace {

constexpr int kW = 640, kH = 320;

struct House {
    int x, w, wall_h;
    Rgb wall, roof;
};

void draw_house(Canvas& s, const House& h, int ground, bool snow) {
    const int top = ground - h.wall_h;
    s.fill_rect(h.x, top, h.w, h.wall_h, h.wall);
    s.fill_polygon({{h.x - 10.0, top + 2.0}, {h.x + h.w / 2.0, top - 46.0}, {h.x + h.w + 10.0, top + 2.0}},
                   snow ? rgb(236, 240, 248) : h.roof);
    if (snow) s.fill_rect(h.x - 6, top, h.w + 12, 4, h.roof);
    s.fill_rect(h.x + 14, top + 18, 28, 24, rgb(150, 190, 214));
    s.fill_rect(h.x + h.w - 42, top + 18, 28, 24, rgb(150, 190, 214));
}

}  // namespace

Canvas draw_street(Hour hour, bool snow) {
    Canvas s(kW, kH, kTransparent);
    const House houses[] = {{-20, 130, 110, rgb(232, 220, 196), rgb(150, 70, 60)},
                            {140, 110, 96, rgb(214, 222, 226), rgb(70, 90, 130)},
                            {280, 150, 120, rgb(240, 232, 220), rgb(110, 80, 70)},
                            {460, 120, 100, rgb(226, 206, 180), rgb(60, 110, 90)},
                            {600, 100, 104, rgb(232, 226, 214), rgb(150, 70, 60)}};
    const int ground = 220;
    for (const House& h : houses) draw_house(s, h, ground, snow);
    // Block walls along the road, then pavement and road.
    s.fill_rect(0, ground - 24, kW, 24, rgb(190, 186, 178));
    for (int x = 0; x < kW; x += 40) s.fill_rect(x, ground - 24, 1, 24, rgb(160, 156, 150));
    s.fill_rect(0, ground, kW, 26, snow ? rgb(232, 236, 244) : rgb(196, 192, 186));
    s.vertical_gradient(0, ground + 26, kW, kH - ground - 26, rgb(110, 112, 118), rgb(84, 86, 92));
    for (int x = 20; x < kW; x += 90) s.fill_rect(x, 282, 50, 5, rgb(236, 236, 230));
    // Utility poles and their wires.
    for (const int px : {110, 450}) s.fill_rect(px, 40, 10, ground - 40 + 10, rgb(150, 146, 140));
    for (int i = 0; i < 3; ++i) {
        s.line(0, 60.0 + i * 8, 115, 52.0 + i * 8, 1.2, kInk);
        s.line(115, 52.0 + i * 8, 455, 56.0 + i * 8, 1.2, kInk);
        s.line(455, 56.0 + i * 8, kW, 64.0 + i * 8, 1.2, kInk);
    }
    // A vending machine by the wall.
    s.fill_rect(250, ground - 74, 40, 76, rgb(200, 40, 50));
    s.fill_rect(255, ground - 68, 30, 30, rgb(230, 236, 240));

    Canvas out = finish_scene(s, hour, snow ? 21 : 22);
    if (hour == Hour::Night) {
        for (const House& h : houses) draw_glow(out, h.x + 14, ground - h.wall_h + 18, 28, 24);
        draw_glow(out, 255, ground - 68, 30, 30);
        for (const int px : {110, 450}) {
            out.fill_rect(px - 6, 60, 16, 6, rgb(255, 250, 220));
            for (int i = 0; i < 8; ++i)  // a cone of light widening to the ground
                out.blend_rect(px - 4 - i * 6, 66 + i * 20, 18 + i * 12, 20, rgb(255, 240, 200), 0.1);
        }
    }
    if (snow) draw_snowfall(out, 23, 260);
    return out;
}

Canvas draw_station(Hour hour) {
    Canvas s(kW, kH, kTransparent);
    // The far town and the line running off to the right.
    for (int i = 0; i < 12; ++i) {
        const int h = 30 + (i * 37) % 50;
        s.fill_rect(i * 56, 170 - h, 50, h, rgb(170, 176, 190));
    }
    s.fill_rect(0, 170, kW, 20, rgb(120, 130, 110));
    s.fill_rect(0, 190, kW, 40, rgb(150, 140, 130));
    for (int x = 0; x < kW; x += 16) s.fill_rect(x, 196, 8, 30, rgb(110, 90, 70));
    s.fill_rect(0, 200, kW, 4, rgb(190, 190, 196));
    s.fill_rect(0, 220, kW, 4, rgb(190, 190, 196));
    // The platform, its yellow line and the canopy overhead.
    s.vertical_gradient(0, 230, kW, kH - 230, rgb(190, 186, 180), rgb(160, 156, 150));
    s.fill_rect(0, 236, kW, 8, rgb(240, 200, 60));
    s.fill_polygon({{0, 0}, {kW, 0}, {kW, 40}, {0, 60}}, rgb(120, 126, 136));
    s.fill_rect(0, 56, kW, 4, rgb(90, 96, 104));
    for (const int px : {90, 330, 570}) s.fill_rect(px, 40, 14, kH - 40, rgb(140, 146, 156));
    // The station name board and a bench.
    s.fill_rect(380, 110, 150, 44, rgb(250, 250, 250));
    s.fill_rect(380, 140, 150, 6, rgb(40, 120, 200));
    for (int i = 0; i < 3; ++i) s.fill_rect(412 + i * 30, 118, 20, 16, rgb(40, 40, 50));
    s.fill_rect(386, 154, 6, 40, rgb(110, 110, 116));
    s.fill_rect(518, 154, 6, 40, rgb(110, 110, 116));
    s.fill_rect(150, 262, 130, 12, rgb(60, 120, 180));
    s.fill_rect(156, 274, 6, 24, rgb(90, 90, 96));
    s.fill_rect(268, 274, 6, 24, rgb(90, 90, 96));

    Canvas out = finish_scene(s, hour, 31);
    if (hour != Hour::Day) {
        for (const int lx : {200, 450}) {
            out.fill_rect(lx, 58, 60, 6, rgb(255, 252, 232));
            out.blend_rect(lx - 40, 64, 140, 256, rgb(255, 244, 210), 0.1);
        }
    }
    return out;
}

}  // namespace dalvo::mkdata
