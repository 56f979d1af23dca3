#include "platform/sdl/sdl_input.h"

#include <SDL.h>

#include <algorithm>

#include "platform/ui/form.h"

namespace dalvo::platform {

namespace {

// Floor division, so that points left of or above the picture stay outside it.
int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
std::int64_t floor_div64(std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

int key_code_from_sdl(std::int32_t sdl_keycode) {
    const SDL_Keycode k = sdl_keycode;
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return key::F1 + (k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return 97 + (k - SDLK_KP_1);  // numeric pad 1..9
    switch (k) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return key::Enter;
        case SDLK_SPACE: return key::Space;
        case SDLK_ESCAPE: return key::Escape;
        case SDLK_TAB: return key::Tab;
        case SDLK_BACKSPACE: return key::Backspace;
        case SDLK_LEFT: return key::Left;
        case SDLK_UP: return key::Up;
        case SDLK_RIGHT: return key::Right;
        case SDLK_DOWN: return key::Down;
        case SDLK_KP_0: return 96;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return 16;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return 17;
        case SDLK_LALT:
        case SDLK_RALT: return 18;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_END: return 35;
        case SDLK_HOME: return 36;
        case SDLK_INSERT: return 45;
        case SDLK_DELETE: return 46;
        default: return 0;
    }
}

Viewport fit_viewport(int output_w, int output_h, int picture_w, int picture_h, int scale,
                      bool fullscreen, bool smooth) {
    Viewport vp;
    vp.width = picture_w;
    vp.height = picture_h;
    if (!fullscreen || picture_w <= 0 || picture_h <= 0) {
        vp.factor = std::max(1, scale);
        vp.shown_w = picture_w * vp.factor;
        vp.shown_h = picture_h * vp.factor;
        return vp;
    }
    vp.factor = std::max(1, std::min(output_w / picture_w, output_h / picture_h));
    vp.shown_w = picture_w * vp.factor;
    vp.shown_h = picture_h * vp.factor;
    if (smooth && output_w > 0 && output_h > 0) {
        // The side that runs out first fills the output; the other keeps the aspect.
        if (static_cast<std::int64_t>(output_w) * picture_h <= static_cast<std::int64_t>(output_h) * picture_w) {
            vp.shown_w = output_w;
            vp.shown_h = static_cast<int>(static_cast<std::int64_t>(output_w) * picture_h / picture_w);
        } else {
            vp.shown_h = output_h;
            vp.shown_w = static_cast<int>(static_cast<std::int64_t>(output_h) * picture_w / picture_h);
        }
    }
    vp.x = std::max(0, (output_w - vp.shown_w) / 2);
    vp.y = std::max(0, (output_h - vp.shown_h) / 2);
    return vp;
}

int fit_scale(int asked, int usable_w, int usable_h, int width, int height) {
    int scale = std::max(1, asked);
    while (scale > 1 && (width * scale > usable_w || height * scale > usable_h)) --scale;
    return scale;
}

PicturePoint to_picture(const Viewport& vp, int window_x, int window_y) {
    PicturePoint p;
    if (vp.smooth() && vp.shown_w > 0 && vp.shown_h > 0) {
        p.x = static_cast<int>(floor_div64(static_cast<std::int64_t>(window_x - vp.x) * vp.width, vp.shown_w));
        p.y = static_cast<int>(floor_div64(static_cast<std::int64_t>(window_y - vp.y) * vp.height, vp.shown_h));
    } else {
        p.x = floor_div(window_x - vp.x, vp.factor);
        p.y = floor_div(window_y - vp.y, vp.factor);
    }
    p.inside = p.x >= 0 && p.y >= 0 && p.x < vp.width && p.y < vp.height;
    return p;
}

}  // namespace dalvo::platform
