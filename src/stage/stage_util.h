#pragma once
// Small helpers the stage routines share: sizing and clearing picture surfaces,
// loading pictures.

#include <cstdint>
#include <string>

#include "platform/ui/form.h"

namespace dalvo {

struct Game;

// Gives a picture surface a new size in place; its image follows.
void size_surface(platform::Control& c, int w, int h);
// Fills the surface with its background colour.
void clear_surface(platform::Control& c);
// The window's client area: no picture control shows more of a picture than this.
inline constexpr int kWindowWidth = 640;
inline constexpr int kWindowHeight = 480;

// A picture of the data folder; one that is missing or cannot be decoded ends the game
// after a message.
platform::Surface read_picture(Game& game, const std::string& file_name);
// Gives `c` the w x h part of `picture` at (x, y), cut to the picture: a control keeps
// only the part it can show, however large the picture.
void take_part(platform::Control& c, const platform::Surface& picture, int x, int y, int w, int h);
// Loads `file_name` into `c`, which takes the picture's size up to the window's.
void load_surface(Game& game, platform::Control& c, const std::string& file_name);
// The frame pictures are read before the data folder is checked, so that a broken
// one is named by the check: a failure here is only remembered in the stage state.
// The control takes the picture's size up to the window's.
void load_frame_picture(Game& game, platform::Control& c, const std::string& file_name);
// After the check: a frame picture that existed but did not decode ends the game.
void report_frame_pictures(Game& game);

}  // namespace dalvo
