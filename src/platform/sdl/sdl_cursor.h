#pragma once
// Mouse pointers of the real window: the game's own pointers as colour cursors.

#include "platform/gfx/picture.h"
#include "platform/sdl/sdl_resources.h"

namespace dalvo::platform::sdl {

// A colour cursor from the pointer's image and mask (white mask pixels are
// transparent). Empty when the video driver has no colour cursors.
CursorPtr make_color_cursor(const Cursor& cursor);

}  // namespace dalvo::platform::sdl
