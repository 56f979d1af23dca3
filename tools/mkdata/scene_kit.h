#pragma once
// What the background pictures share: time of day, skies, and the scene families.
// A scene draws its ground, buildings and rooms in daylight colours on a black canvas,
// leaving the openings to the sky black; `finish_scene` tints them for the hour and
// lays them over the sky. Lights that glow at night are drawn after that.

#include "mkdata/canvas.h"

namespace dalvo::mkdata {

// Snow: the grey morning after a night of snow.
enum class Hour { Day, Evening, Night, Snow };

// The colour c under the light of the hour; never pure black unless c is.
Rgb lit(Rgb c, Hour hour);
void draw_sky(Canvas& c, int top, int bottom, Hour hour, std::uint32_t seed);
// Sky behind, the tinted scene in front.
Canvas finish_scene(const Canvas& scene, Hour hour, std::uint32_t seed);
// A warm lit window, drawn after tinting.
void draw_glow(Canvas& c, int x, int y, int w, int h);
void draw_snowfall(Canvas& c, std::uint32_t seed, int flakes);
// Flakes only inside one rectangle of the picture.
void draw_snowfall_in(Canvas& c, int x, int y, int w, int h, std::uint32_t seed, int flakes);
// Two people side by side, seen from behind; `height` from feet to top of the head.
void draw_two_figures(Canvas& c, double x, double feet, double height, Rgb color);

// The families; each returns a finished 640 x 320 picture.
Canvas draw_classroom(Hour hour);
Canvas draw_school_gate(Hour hour);
Canvas draw_street(Hour hour, bool snow);
Canvas draw_station(Hour hour);
Canvas draw_sea(Hour hour);
Canvas draw_bedroom(Hour hour);

}  // namespace dalvo::mkdata
