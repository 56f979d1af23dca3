#pragma once
// A left click as the window system delivers it: button down and up at (x, y) of a window.

#include <SDL2/SDL.h>

#include <cstdint>

namespace dalvo::test {

inline void push_sdl_click(std::uint32_t window_id, int x, int y) {
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event e{};
        e.type = type;
        e.button.windowID = window_id;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }
}

}  // namespace dalvo::test
