#include "window/x11_poke.h"

#include <SDL2/SDL.h>
#ifdef DALVO_HAVE_X11
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#endif

namespace dalvo::test {

#ifdef DALVO_HAVE_X11

unsigned long x11_window_of(std::uint32_t sdl_window_id) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_Window* window = SDL_GetWindowFromID(sdl_window_id);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    return info.info.x11.window;
}

bool warp_pointer_from_outside(std::uint32_t sdl_window_id, int x, int y) {
    const unsigned long target = x11_window_of(sdl_window_id);
    if (target == 0) return false;
    Display* other = XOpenDisplay(nullptr);
    if (other == nullptr) return false;
    XWarpPointer(other, None, target, 0, 0, 0, 0, x, y);
    XSync(other, False);
    XCloseDisplay(other);
    return true;
}

#else

// Built without Xlib: no second connection to poke the window from.
unsigned long x11_window_of(std::uint32_t) { return 0; }
bool warp_pointer_from_outside(std::uint32_t, int, int) { return false; }

#endif

}  // namespace dalvo::test
