#pragma once
// Input sent by the X server itself, apart from anything SDL or Xlib queue in the program.

#include <cstdint>

namespace dalvo::test {

// Moves the pointer to (x, y) of the SDL window through a second connection to the X
// server: the motion reaches the program only over its own connection. False when the
// window is not an X11 window or the server cannot be reached.
bool warp_pointer_from_outside(std::uint32_t sdl_window_id, int x, int y);

// The X window of an SDL window (for tools that send input as a user would); 0 when none.
unsigned long x11_window_of(std::uint32_t sdl_window_id);

}  // namespace dalvo::test
