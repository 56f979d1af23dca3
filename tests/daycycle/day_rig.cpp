#include "daycycle/day_rig.h"

#include "daycycle/level_form.h"

namespace dalvo::test {

platform::Surface board_with_bars(const std::array<int, 3>& lengths) {
    platform::Surface out = Draw_board();
    const platform::Surface beam = Draw_beam();
    for (int i = 0; i < 3; ++i) {
        const int v = lengths[i];
        if (v <= 0) continue;
        const int band = v >= 80 ? kBeamRed : kBeamBlue;
        for (int x = 101; x <= 102 + 2 * v; ++x) {
            for (int y = 0; y < 16; ++y) out.set(x, 50 + 45 * i + y, beam.get((x - 101) % 2, band + y));
        }
    }
    return out;
}

}  // namespace dalvo::test
