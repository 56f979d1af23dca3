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
// Loads `file_name` of the data folder into `c`, which takes the picture's size.
// A picture that is missing or cannot be decoded ends the game after a message.
void load_surface(Game& game, platform::Control& c, const std::string& file_name);
// The frame pictures are read before the data folder is checked, so that a broken
// one is named by the check: a failure here is only remembered in the stage state.
void load_frame_picture(Game& game, platform::Control& c, const std::string& file_name);
// After the check: a frame picture that existed but did not decode ends the game.
void report_frame_pictures(Game& game);

}  // namespace dalvo
