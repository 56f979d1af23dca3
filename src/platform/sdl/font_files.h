#pragma once
// Where the game's two faces are found on this system.

#include <string>

namespace dalvo::platform {

enum class FontFace { Gothic, Sans };

// The face's file; empty when it is not found.
std::string find_font_file(FontFace face);
// What the player is told when the face was not found.
std::string font_not_found(FontFace face);

// The browser's page may start the game with a first cut of a face, a file holding only
// the characters the game is known to show, while the whole font is still coming
// (elsewhere a face is whole from the start). Whether `file` (from find_font_file) is
// such a cut:
bool is_first_cut(const std::string& file);
// The whole file of `face`, waited for while it is coming; empty when it cannot be had.
std::string wait_for_whole_font(FontFace face);

}  // namespace dalvo::platform
