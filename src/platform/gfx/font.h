#pragma once
// Fonts: the game's font names resolved to installed fonts, sizes in points at 96 dpi.

#include <string>

#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"

namespace dalvo::platform {

// The size the platform grants for a requested point size: whole pixels at 96 dpi
// (11 pt -> 15 px -> 11.25 pt).
double granted_points(double points);
int points_to_pixels(double points);

// Width in pixels of `utf8` drawn in `font` (the font's own advances).
int text_width(const FontSpec& font, const std::string& utf8);
// Height of one line of `font` in pixels.
int text_height(const FontSpec& font);

// Draws `utf8` at (x, y) (top-left of the line box) in `color`, without background,
// inside `clip` of `dst` (empty: all of it). Glyphs are drawn without smoothing so
// that raster operations on text stay exact.
void draw_text(Surface& dst, int x, int y, const std::string& utf8, const FontSpec& font,
               Color color, const Rect& clip = {});

// Checks that the fonts the game names can be found; returns an empty string when
// they can, else a message naming what is missing and the package that provides it.
std::string check_fonts();

}  // namespace dalvo::platform
