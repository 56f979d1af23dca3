// The three final pictures of the full ending, one for each way it can close.

#include "mkdata/pictures.h"
#include "mkdata/scene_kit.h"

namespace dalvo::mkdata {

Canvas draw_ending_picture(int k) {
    switch (k) {
    case 1: {
        // Two people on the beach at sunset.
        Canvas c = draw_sea(Hour::Evening);
        draw_two_figures(c, 250, 296, 120, rgb(52, 34, 52));
        return c;
    }
    case 2: {
        // The snowy street at night, a lit tree between them.
        Canvas c = draw_street(Hour::Night, true);
        c.fill_rect(316, 150, 10, 80, rgb(70, 50, 40));
        c.fill_polygon({{321, 60}, {380, 170}, {262, 170}}, rgb(30, 80, 50));
        Dice dice(92);
        for (int i = 0; i < 40; ++i) {
            const double t = dice.unit(), y = 70 + t * 95;
            const double half = (y - 60) * 59 / 110;
            c.fill_circle(321 - half + dice.unit() * 2 * half, y, 2,
                          i % 3 == 0 ? rgb(255, 120, 120) : rgb(255, 236, 150));
        }
        c.fill_circle(321, 60, 5, rgb(255, 240, 160));
        draw_two_figures(c, 220, 300, 110, rgb(40, 40, 70));
        draw_snowfall(c, 93, 120);
        return c;
    }
    default: {
        // Stars over the night sea, one of them falling.
        Canvas c = draw_sea(Hour::Night);
        c.line(120, 40, 220, 80, 2, rgb(250, 250, 230));
        c.fill_circle(220, 80, 3, rgb(255, 255, 240));
        draw_two_figures(c, 380, 298, 100, rgb(12, 16, 32));
        return c;
    }
    }
}

}  // namespace dalvo::mkdata
