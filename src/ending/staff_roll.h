#pragma once
// The staff roll: the staff table, the six cards that assemble from flying tiles,
// and the grey and dark steps of the pictures beside them.

#include <cstdint>
#include <string>

namespace dalvo {

struct Game;
struct EndingState;

// Fills `StaffText` with the cards' titles, second lines and the credit line.
void fill_staff_text(EndingState& ending);

// Places the four `Texture` surfaces and paints the title gradient into `Texture(2)`.
void Staff_texture(Game& game);
// Draws `text` into `Texture(0)`: gradient letters with a grey shadow, on black.
void Staff_text(Game& game, const std::string& text);
// Builds card n (1 ... 6) in `Staff_pic2` and assembles it on `Staff_pic1`.
void Staff_disp(Game& game, std::int16_t n);
// Turns `End_pic` towards grey in five paced steps.
void End_grey(Game& game);
// Darkens `End_pic` to black in five steps.
void End_dark(Game& game);
// Darkens `Staff_pic1` to black in three steps.
void Staff_dark(Game& game);

}  // namespace dalvo
