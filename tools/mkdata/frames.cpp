// The wall tile around the stage and the message-window frame.

#include "mkdata/pictures.h"

namespace dalvo::mkdata {

// Slate bricks, 32 x 16, every other row shifted by half a brick. The tile's period is
// two bricks by four rows, so copies side by side meet without a seam.
Canvas draw_wall_tile() {
    constexpr Rgb kMortar = rgb(34, 38, 54);
    Canvas c(64, 64, kMortar);
    Dice dice(7);
    for (int row = 0; row < 4; ++row) {
        const int y = row * 16;
        const int shift = (row % 2) * 16;
        for (int col = -1; col < 2; ++col) {
            const int x = col * 32 + shift;
            const double tone = dice.unit() * 0.18 - 0.09;
            const Rgb face = shade(rgb(70, 80, 108), tone);
            // The tile wraps, so a brick cut by the right edge continues at the left.
            for (int wrap : {0, 64}) {
                c.fill_rect(x + 1 + wrap, y + 1, 30, 14, face);
                c.fill_rect(x + 1 + wrap, y + 1, 30, 1, shade(face, 0.25));
                c.fill_rect(x + 1 + wrap, y + 14, 30, 1, shade(face, -0.3));
            }
        }
    }
    // A few specks so the bricks do not look printed.
    for (int i = 0; i < 40; ++i) {
        const int x = dice.below(64), y = dice.below(64);
        if (c.get(x, y) != kMortar) c.set(x, y, shade(c.get(x, y), dice.unit() < 0.5 ? 0.15 : -0.15));
    }
    return c;
}

// A gilt frame: eight one-pixel rings of the same colour all round, so the 16-pixel
// edge pieces tile along any length, with a small stone set in each corner. The inside
// is black, the colour of the message window behind the text.
Canvas draw_frame_parts() {
    Canvas c(48, 48, kTransparent);
    const Rgb rings[8] = {rgb(58, 44, 26),   rgb(176, 140, 70), rgb(236, 212, 140), rgb(200, 166, 86),
                          rgb(150, 116, 52), rgb(96, 72, 34),   rgb(60, 60, 84),    rgb(28, 28, 44)};
    for (int i = 0; i < 8; ++i) c.frame_rect(i, i, 48 - 2 * i, 48 - 2 * i, rings[i]);
    for (const auto& [x, y] : {std::pair{0, 0}, {40, 0}, {0, 40}, {40, 40}}) {
        c.fill_rect(x, y, 8, 8, rings[0]);
        c.fill_polygon({{x + 4.0, y + 0.5}, {x + 7.5, y + 4.0}, {x + 4.0, y + 7.5}, {x + 0.5, y + 4.0}},
                       rgb(120, 170, 230));
        c.set(x + 3, y + 2, rgb(230, 240, 255));
    }
    return c;
}

}  // namespace dalvo::mkdata
