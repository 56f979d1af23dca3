#pragma once
// What the date card of a new half-day and the card of a continued game share.

#include <cstdint>
#include <string>

namespace dalvo {

struct Game;

// "mm/dd AM" or "mm/dd PM" of half-day `day`: 2000-12-25 plus day / 2 days.
std::string Date_text(std::int16_t day);

// The texts of the day-start record: numbers with a blank before a value that is
// not negative, truth values as "True" and "False".
std::string Flag_number(std::int32_t value);
std::string Flag_truth(std::int16_t value);
// Writes `g_Flags` from the state as it stands, for a half-day whose script goes on
// after record `start_record`.
void Write_day_start_record(Game& game, std::int32_t start_record);
// Reads them back; a text that is neither (outside the record's form) reads as 0.
std::int16_t Flag_to_int16(const std::string& text);
std::int16_t Flag_to_truth(const std::string& text);

// Load, save and skip are offered only outside the card and the level display.
void Set_file_menus(Game& game, bool enabled);

// Captions of FrontMes(0..3) from `g_DateText`, placed at (320, top) and shown.
void Card_show_date(Game& game, int top);
// Slides FrontMes(0..3) apart in 25 frames of at least 20 ms.
void Card_slide(Game& game);
void Card_hide(Game& game);

}  // namespace dalvo
