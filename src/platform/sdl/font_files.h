#pragma once
// Where the game's two faces are found on this system.

#include <string>

namespace dalvo::platform {

enum class FontFace { Gothic, Sans };

// The face's file; empty when it is not found.
std::string find_font_file(FontFace face);
// What the player is told when the face was not found.
std::string font_not_found(FontFace face);

}  // namespace dalvo::platform
