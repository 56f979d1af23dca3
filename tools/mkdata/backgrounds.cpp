// The stage backgrounds, numbered as the scenario names them (file 70 + n).

#include "mkdata/pictures.h"
#include "mkdata/scene_kit.h"

namespace dalvo::mkdata {

Canvas draw_background(int n) {
    switch (n) {
    case 0: return draw_classroom(Hour::Day);
    case 1: return draw_school_gate(Hour::Day);
    case 2: return draw_street(Hour::Day, false);
    case 3: return draw_sea(Hour::Day);
    case 4: return draw_station(Hour::Day);
    case 5: return draw_bedroom(Hour::Day);
    case 6: return draw_sea(Hour::Evening);
    case 7: return draw_classroom(Hour::Evening);
    case 8: return draw_street(Hour::Night, true);
    case 9: return draw_station(Hour::Evening);
    case 10: return draw_bedroom(Hour::Night);
    case 11: return draw_school_gate(Hour::Evening);
    case 13: return draw_school_gate(Hour::Snow);
    case 14: return draw_bedroom(Hour::Snow);
    default: return draw_sea(Hour::Night);
    }
}

}  // namespace dalvo::mkdata
