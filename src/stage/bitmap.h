#pragma once
// The bitmap routines under the stage: colour-key masks, pixel arrays, client sizes.

#include <cstdint>
#include <vector>

#include "platform/ui/form.h"
#include "platform/gfx/surface.h"

namespace dalvo {

// Writes into `dst` at (0, 0) the mask of the w x h rectangle of `src` at (sx, sy):
// pure white where the source pixel is exactly black (the colour key), pure black
// elsewhere, and black where the rectangle leaves the source.
void Make_mask(platform::Surface& dst, const platform::Surface& src, int sx, int sy, int w, int h);

// Reads the image into `px` as W·H + 1 entries 0x00RRGGBB (bytes blue, green, red,
// reserved), rows bottom-up: entry r·W + c is column c of image row H − 1 − r; the
// last entry is 0. Returns W·H, or −1 for an empty surface (the array then holds one 0).
int Get_pixels(const platform::Surface& s, std::vector<std::uint32_t>& px);

// Writes an array in the layout of Get_pixels back, read with the surface's own W and
// H, and refreshes the surface. Returns 0, or −1 (surface unchanged) when the array
// is too small or the surface empty.
int Put_pixels(platform::Surface& s, const std::vector<std::uint32_t>& px);

// Makes the form's client area exactly w x h pixels.
void Set_client_size(platform::Form& form, int w, int h);

}  // namespace dalvo
