// The player's room.

#include "mkdata/scene_kit.h"

namespace dalvo::mkdata {

Canvas draw_bedroom(Hour hour) {
    constexpr int kW = 640, kH = 320;
    Canvas s(kW, kH, rgb(226, 232, 222));
    for (int x = 0; x < kW; x += 24) s.fill_rect(x, 0, 2, 230, rgb(214, 222, 210));  // wallpaper
    s.vertical_gradient(0, 230, kW, 90, rgb(200, 170, 120), rgb(170, 136, 90));       // floor
    s.fill_rect(0, 226, kW, 6, rgb(150, 120, 80));
    // Window with curtains; the panes stay open to the sky.
    s.fill_rect(250, 30, 180, 130, rgb(240, 240, 236));
    s.fill_rect(258, 38, 78, 114, kTransparent);
    s.fill_rect(344, 38, 78, 114, kTransparent);
    s.fill_rect(226, 22, 36, 160, rgb(120, 160, 200));
    s.fill_rect(418, 22, 36, 160, rgb(120, 160, 200));
    s.fill_rect(220, 18, 240, 6, rgb(170, 140, 100));
    // The bed on the left.
    s.fill_rect(20, 170, 200, 80, rgb(160, 120, 80));
    s.fill_rect(24, 160, 192, 40, rgb(240, 240, 246));
    s.fill_rect(70, 170, 146, 70, rgb(120, 170, 210));
    s.fill_round_rect(30, 150, 50, 26, 10, rgb(250, 250, 252));
    s.fill_rect(16, 130, 10, 130, rgb(140, 100, 64));
    // Desk, lamp and shelf on the right.
    s.fill_rect(470, 170, 150, 12, rgb(180, 130, 80));
    s.fill_rect(478, 182, 10, 80, rgb(150, 106, 64));
    s.fill_rect(600, 182, 10, 80, rgb(150, 106, 64));
    s.fill_rect(560, 182, 40, 50, rgb(160, 116, 72));
    s.line(500, 168, 512, 130, 3, rgb(80, 80, 90));
    s.fill_polygon({{500, 120}, {530, 120}, {524, 134}, {506, 134}}, rgb(240, 200, 80));
    s.fill_rect(480, 60, 140, 8, rgb(170, 120, 76));
    const Rgb spines[] = {rgb(200, 60, 60), rgb(60, 110, 180), rgb(230, 200, 80), rgb(80, 160, 100), rgb(150, 90, 160)};
    for (int i = 0; i < 12; ++i) s.fill_rect(486 + i * 11, 26 + (i % 3) * 4, 9, 34 - (i % 3) * 4, spines[i % 5]);
    s.fill_round_rect(230, 262, 180, 40, 12, rgb(230, 150, 160));  // a rug
    if (hour == Hour::Snow) {
        // White roofs of the houses across the street, seen through the panes.
        for (const int x : {258, 344}) {
            s.fill_polygon({{static_cast<double>(x), 118}, {x + 30.0, 100}, {x + 60.0, 112}, {x + 78.0, 104},
                            {x + 78.0, 152}, {static_cast<double>(x), 152}},
                           rgb(242, 244, 250));
            s.fill_rect(x, 134, 78, 18, rgb(150, 140, 136));
            s.fill_rect(x, 130, 78, 5, rgb(236, 240, 248));
        }
    }

    Canvas out = finish_scene(s, hour, 51);
    if (hour == Hour::Snow) {
        for (const int x : {258, 344}) draw_snowfall_in(out, x, 38, 78, 62, 52 + x, 18);
    }
    if (hour == Hour::Night) {
        out.fill_polygon({{500, 120}, {530, 120}, {524, 134}, {506, 134}}, rgb(255, 240, 170));
        for (int r = 90; r > 0; r -= 10) out.blend_rect(515 - r, 134, 2 * r, 50 - r / 3, rgb(255, 220, 150), 0.05);
    }
    return out;
}

}  // namespace dalvo::mkdata
