// The school: the classroom and the front gate.

#include "mkdata/scene_kit.h"

namespace dalvo::mkdata {
namespace {

constexpr int kW = 640, kH = 320;

void draw_desk(Canvas& c, double x, double y, double scale) {
    const double w = 70 * scale, d = 18 * scale, leg = 34 * scale;
    c.fill_rect(static_cast<int>(x + 4 * scale), static_cast<int>(y + d), static_cast<int>(3 * scale + 1),
                static_cast<int>(leg), rgb(110, 110, 120));
    c.fill_rect(static_cast<int>(x + w - 7 * scale), static_cast<int>(y + d), static_cast<int>(3 * scale + 1),
                static_cast<int>(leg), rgb(110, 110, 120));
    c.fill_polygon({{x + 8 * scale, y}, {x + w - 8 * scale, y}, {x + w, y + d}, {x, y + d}}, rgb(196, 150, 96));
    c.fill_rect(static_cast<int>(x), static_cast<int>(y + d), static_cast<int>(w), static_cast<int>(4 * scale + 1),
                rgb(150, 106, 64));
}

}  // namespace

Canvas draw_classroom(Hour hour) {
    Canvas s(kW, kH, rgb(232, 224, 204));
    s.fill_rect(0, 0, kW, 18, rgb(244, 240, 230));                 // ceiling strip
    s.fill_rect(0, 196, kW, 44, rgb(176, 150, 116));               // wainscot
    s.fill_rect(0, 196, kW, 4, rgb(140, 112, 80));
    s.vertical_gradient(0, 240, kW, 80, rgb(186, 136, 86), rgb(150, 100, 60));  // floor
    for (int i = -8; i <= 8; ++i) s.line(320 + i * 40, 240, 320 + i * 110, kH, 1.5, rgb(136, 94, 58));

    // Windows on the left: black panes let the sky through.
    for (int i = 0; i < 2; ++i) {
        const int x = 16 + i * 96;
        s.fill_rect(x, 36, 88, 150, rgb(214, 214, 220));
        s.fill_rect(x + 6, 42, 36, 66, kTransparent);
        s.fill_rect(x + 46, 42, 36, 66, kTransparent);
        s.fill_rect(x + 6, 114, 36, 66, kTransparent);
        s.fill_rect(x + 46, 114, 36, 66, kTransparent);
    }
    s.fill_rect(8, 30, 6, 170, rgb(236, 222, 180));  // curtain
    // Blackboard with a little chalk.
    s.fill_rect(244, 40, 330, 134, rgb(150, 110, 70));
    s.fill_rect(252, 48, 314, 118, rgb(42, 86, 66));
    s.fill_rect(252, 166, 314, 6, rgb(170, 170, 160));
    s.line(280, 80, 360, 76, 2, rgb(230, 236, 230));
    s.line(280, 100, 420, 98, 2, rgb(230, 236, 230));
    s.line(300, 120, 380, 124, 2, rgb(240, 220, 140));
    s.fill_circle(520, 90, 10, rgb(240, 160, 170));
    // Clock above the board.
    s.fill_circle(409, 22, 14, rgb(90, 90, 100));
    s.fill_circle(409, 22, 11, rgb(250, 250, 246));
    s.line(409, 22, 409, 14, 2, kInk);
    s.line(409, 22, 415, 24, 2, kInk);
    // Three rows of desks, the nearest largest.
    for (int row = 0; row < 3; ++row) {
        const double scale = 0.8 + row * 0.35;
        const double y = 214 + row * 34;
        for (int col = 0; col < 6; ++col) draw_desk(s, 30 + col * 104 - row * 20, y, scale);
    }
    Canvas out = finish_scene(s, hour, 11);
    if (hour == Hour::Evening) out.blend_rect(200, 240, 440, 80, rgb(255, 170, 90), 0.18);  // low sun on the floor
    return out;
}

Canvas draw_school_gate(Hour hour) {
    Canvas s(kW, kH, kTransparent);
    // The school building across the yard.
    s.fill_rect(60, 90, 520, 150, rgb(236, 230, 214));
    s.fill_rect(60, 84, 520, 8, rgb(190, 186, 176));
    s.fill_rect(280, 40, 80, 52, rgb(236, 230, 214));
    s.fill_circle(320, 64, 16, rgb(120, 110, 100));
    s.fill_circle(320, 64, 13, rgb(250, 250, 244));
    s.line(320, 64, 320, 54, 2, kInk);
    s.line(320, 64, 327, 66, 2, kInk);
    for (int floor = 0; floor < 3; ++floor)
        for (int i = 0; i < 11; ++i)
            s.fill_rect(76 + i * 46, 104 + floor * 44, 30, 26, rgb(120, 160, 196));
    // Yard, path and the gate.
    const bool snow = hour == Hour::Snow;
    const Rgb white = rgb(244, 246, 252);
    if (snow) {
        // Snow on the yard, a path trodden grey through it.
        s.vertical_gradient(0, 236, kW, 84, white, rgb(214, 222, 238));
        s.fill_polygon({{290, 236}, {350, 236}, {430, 320}, {210, 320}}, rgb(196, 198, 204));
    } else {
        s.vertical_gradient(0, 236, kW, 84, rgb(200, 180, 150), rgb(176, 150, 118));
        s.fill_polygon({{280, 236}, {360, 236}, {470, 320}, {170, 320}}, rgb(214, 206, 190));
    }
    for (int x = 0; x < kW; x += 12) s.fill_rect(x, 226, 3, 30, rgb(90, 96, 100));
    s.fill_rect(0, 232, kW, 3, rgb(90, 96, 100));
    for (int side : {0, 1}) {
        const int x = side == 0 ? 120 : 470;
        s.fill_rect(x, 170, 50, 150, rgb(170, 164, 156));
        s.fill_rect(x - 4, 164, 58, 10, rgb(140, 134, 126));
    }
    s.fill_rect(128, 200, 34, 60, rgb(232, 228, 218));  // the school's name board
    for (int i = 0; i < 4; ++i) s.fill_rect(136, 208 + i * 12, 18, 6, rgb(60, 60, 70));
    // Bare winter trees.
    for (const int tx : {30, 600}) {
        s.line(tx, 320, tx, 120, 8, rgb(96, 72, 54));
        for (int b = 0; b < 5; ++b) {
            const double by = 150 + b * 22, dir = b % 2 ? 1 : -1;
            s.line(tx, by, tx + dir * 40, by - 36, 3, rgb(96, 72, 54));
        }
    }
    if (snow) {
        // Caps on the roof, the tower, the fence, the pillars and the branches.
        s.fill_rect(56, 78, 528, 8, white);
        s.fill_rect(276, 34, 88, 7, white);
        s.fill_rect(0, 222, kW, 5, white);
        for (const int x : {116, 466}) s.fill_rect(x, 158, 58, 7, white);
        for (const int tx : {30, 600}) {
            for (int b = 0; b < 5; ++b) {
                const double by = 150 + b * 22, dir = b % 2 ? 1 : -1;
                s.line(tx + dir * 6, by - 7, tx + dir * 38, by - 39, 2, white);
            }
        }
    }
    Canvas out = finish_scene(s, hour, 12);
    if (snow) draw_snowfall(out, 13, 120);
    if (hour == Hour::Evening || hour == Hour::Night)
        for (int i = 0; i < 4; ++i) draw_glow(out, 76 + (i * 3 + 1) * 46, 104, 30, 26);
    return out;
}

}  // namespace dalvo::mkdata
