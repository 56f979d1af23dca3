#pragma once
// The pure parts of the real window: key codes and where the picture lies in the
// window. No SDL types here, so that they can be checked without a display.

#include <cstdint>

namespace dalvo::platform {

// The game's key code (form.h `key`) for an SDL keycode; 0 for keys the game never sees.
int key_code_from_sdl(std::int32_t sdl_keycode);

// Where the window's picture (client area plus menu bar, `width` x `height`) is drawn
// in the window's output: at (x, y), each picture pixel `factor` output pixels wide;
// or, smoothly scaled, `shown_w` x `shown_h` output pixels in all.
struct Viewport {
    int x = 0;
    int y = 0;
    int factor = 1;
    int width = 0;   // picture size, unscaled
    int height = 0;
    int shown_w = 0;  // picture size on the output
    int shown_h = 0;
    // Scaled by other than the whole factor: drawn filtered, and always as a whole.
    bool smooth() const { return shown_w != width * factor || shown_h != height * factor; }
};

// Windowed: the requested whole-number scale from the top-left corner. Fullscreen:
// the largest whole factor that fits the output, centred (the rest is letterbox);
// with `smooth`, the largest size of the picture's aspect that fits, centred.
Viewport fit_viewport(int output_w, int output_h, int picture_w, int picture_h, int scale,
                      bool fullscreen, bool smooth = false);

// The largest whole scale up to `asked` at which a `width` x `height` picture fits a
// usable desktop area of `usable_w` x `usable_h`; 1 when not even that fits.
int fit_scale(int asked, int usable_w, int usable_h, int width, int height);

// A window point mapped back to picture pixels (may lie outside the picture).
struct PicturePoint {
    int x = 0;
    int y = 0;
    bool inside = false;
};
PicturePoint to_picture(const Viewport& vp, int window_x, int window_y);

}  // namespace dalvo::platform
