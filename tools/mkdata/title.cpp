// The title picture: a seaside town at dusk under the name of the game.

#include "mkdata/pictures.h"
#include "mkdata/scene_kit.h"

#include <cstring>

namespace dalvo::mkdata {
namespace {

// The letters of the name, five by seven cells, '#' filled.
const char* glyph(char ch) {
    switch (ch) {
    case 'D': return "#### #   ##   ##   ##   ##   #####  ";
    case 'A': return " ### #   ##   #######   ##   ##   #";
    case 'L': return "#    #    #    #    #    #    #####";
    case 'V': return "#   ##   ##   ##   # # #  # #   #  ";
    case 'O': return " ### #   ##   ##   ##   ##   # ### ";
    case '!': return "  #    #    #    #    #         #  ";
    default: return "                                   ";
    }
}

// Each cell a square block; an outline and a drop shadow keep the name readable on
// any part of the sky.
void draw_name(Canvas& c, const char* text, int x, int y, int cell) {
    const int n = static_cast<int>(std::strlen(text));
    auto blocks = [&](int dx, int dy, int grow, Rgb top, Rgb bottom) {
        for (int i = 0; i < n; ++i) {
            const char* g = glyph(text[i]);
            for (int r = 0; r < 7; ++r)
                for (int col = 0; col < 5; ++col) {
                    if (g[r * 5 + col] != '#') continue;
                    const int bx = x + i * cell * 6 + col * cell + dx - grow;
                    const int by = y + r * cell + dy - grow;
                    c.vertical_gradient(bx, by, cell + 2 * grow, cell + 2 * grow,
                                        mix(top, bottom, r / 7.0), mix(top, bottom, (r + 1) / 7.0));
                }
        }
    };
    blocks(5, 6, 2, rgb(40, 30, 70), rgb(40, 30, 70));
    blocks(0, 0, 3, rgb(255, 255, 255), rgb(255, 255, 255));
    blocks(0, 0, 0, rgb(255, 150, 120), rgb(220, 60, 120));
}

}  // namespace

Canvas draw_title() {
    constexpr int kW = 640, kH = 480, kHorizon = 300;
    Canvas c(kW, kH);
    draw_sky(c, 0, kHorizon, Hour::Evening, 94);
    c.fill_circle(470, kHorizon - 10, 34, rgb(255, 230, 160));
    // The town on its hill to the right, a few windows already lit.
    c.fill_ellipse(560, kHorizon + 20, 260, 90, rgb(70, 60, 90));
    Dice dice(95);
    for (int i = 0; i < 16; ++i) {
        const int x = 330 + i * 20, h = 20 + dice.below(40);
        const int top = kHorizon - 40 + std::abs(i - 12) * 5 - h;
        c.fill_rect(x, top, 18, h + 60, rgb(88, 74, 104));
        if (dice.below(3) == 0) c.fill_rect(x + 6, top + 8, 6, 6, rgb(255, 220, 140));
    }
    // The sea.
    c.vertical_gradient(0, kHorizon, kW, kH - kHorizon, rgb(170, 110, 130), rgb(40, 40, 90));
    for (int i = 0; i < 16; ++i) {
        const int y = kHorizon + 6 + i * 8, half = 10 + i * 4;
        c.fill_rect(470 - half, y, 2 * half, 2, rgb(255, 200, 150));
    }
    for (int i = 0; i < 70; ++i) {
        const int w = 8 + dice.below(24);
        const int y = kHorizon + 10 + dice.below(kH - kHorizon - 10);
        c.fill_rect(dice.below(kW), y, w, 1, rgb(200, 170, 200));
    }
    // Gulls.
    for (const auto& [gx, gy] : {std::pair{160, 150}, {200, 130}, {240, 165}}) {
        c.line(gx - 10, gy - 4, gx, gy, 2, rgb(60, 40, 70));
        c.line(gx, gy, gx + 10, gy - 4, 2, rgb(60, 40, 70));
    }
    // "DALVO!": six letters of 5 cells plus a cell's gap.
    constexpr int kCell = 15;
    const int width = 6 * kCell * 6 - kCell;
    draw_name(c, "DALVO!", (kW - width) / 2, 56, kCell);
    return c;
}

}  // namespace dalvo::mkdata
