#pragma once
// Helpers the steps of the ending share: its mesh dissolves and its picture loads.

#include <cstdint>
#include <string>

namespace dalvo {

struct Game;

// The five dissolves of the ending, each with its own target, area, source and end.
enum class EndingDissolve {
    ScreenToBlack,  // A: the window's own surface from the cleared `Place_Load`
    PageIn,         // B: `Pic_Main` (450 x 80) from `Place_Load`
    PageOut,        // C: as B, from the cleared `Place_Load`
    FinalPicture1,  // D: the window's own surface from `Form_Back`
    FinalPicture2,  // E: `Pic_Main` (640 x 320) from `Place_Load`
};

void Ending_dissolve(Game& game, EndingDissolve which);

// Shows what was drawn on the game window's own surface.
void refresh_window(Game& game);

// Loads a picture of the data folder into `Place_Load`. A picture that is missing or
// cannot be decoded leaves `Place_Load` black at 640 x 320 and is named in the trace:
// the ending goes on without it. Returns whether the picture was loaded.
bool load_ending_picture(Game& game, const std::string& file_name);

// The full ending from the fade of the last page to the second final picture.
void Ending_full(Game& game);

}  // namespace dalvo
