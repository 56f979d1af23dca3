#pragma once
// Input sent by the X server itself, apart from anything SDL or Xlib queue in the program.

#include <cstdint>

namespace dalvo::test {

// Moves the pointer to (x, y) of the SDL window through a second connection to the X
// server: the motion reaches the program only over its own connection. False when the
// window is not an X11 window or the server cannot be reached.
bool warp_pointer_from_outside(std::uint32_t sdl_window_id, int x, int y);

}  // namespace dalvo::test
