#include "platform/sdl/sdl_cursor.h"

namespace dalvo::platform::sdl {

CursorPtr make_color_cursor(const Cursor& cursor) {
    const int w = cursor.image.width();
    const int h = cursor.image.height();
    if (w <= 0 || h <= 0) return nullptr;
    SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!surface) return nullptr;
    const bool has_mask = cursor.mask.width() == w && cursor.mask.height() == h;
    SDL_LockSurface(surface.get());
    for (int y = 0; y < h; ++y) {
        auto* dst = reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) +
                                              static_cast<std::ptrdiff_t>(y) * surface->pitch);
        const Pixel* image = cursor.image.row(y);
        const Pixel* mask = has_mask ? cursor.mask.row(y) : nullptr;
        for (int x = 0; x < w; ++x) {
            const Pixel p = image[x] & 0xFFFFFF;
            // A white mask pixel over black is see-through. Over a colour it would
            // invert the screen, which colour cursors cannot do: show the colour.
            const bool clear = mask != nullptr && (mask[x] & 0xFFFFFF) == 0xFFFFFF && p == 0;
            dst[x] = clear ? 0u : (0xFF000000u | p);
        }
    }
    SDL_UnlockSurface(surface.get());
    const int hot_x = cursor.hot_x < w ? cursor.hot_x : 0;
    const int hot_y = cursor.hot_y < h ? cursor.hot_y : 0;
    return CursorPtr(SDL_CreateColorCursor(surface.get(), hot_x, hot_y));
}

}  // namespace dalvo::platform::sdl
