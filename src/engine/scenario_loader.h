#pragma once
// The scenario "3.dat", the choice table "39.dat", and the lookups over them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dalvo {

struct Game;

// Reads "3.dat" and "39.dat" into the tables and builds the scene index. Data that
// breaks the tables' limits ends the program with a message naming file and line.
void Load_scenario(Game& game);
// The same on the bytes of the two files, named in the messages as the files of the
// data folder.
void Load_scenario(Game& game, std::string_view script_bytes, std::string_view choice_bytes);

// Sets `g_ScriptPos` to the first record of `scene`; on a miss shows
// "Not found NUM to SEQ" and returns false with the position unchanged.
bool Find_seq(Game& game, std::int16_t scene);
// Sets `g_SctIndex` to the first entry of choice group `group`; on a miss shows
// "SCT not found." and returns false.
bool Find_sct(Game& game, std::int16_t group);
// `Find_seq` on `g_CurTarget`; a missing scene ends the game after its message.
void Jump_target(Game& game);

// Scene numbers of the files: the first character and the last three read as one
// decimal number ("1-001" and "1001" give 1001, "12" gives 112).
enum class NumberError { None, NotNumber, OutOfRange };
NumberError convert_scene_number(std::string_view field, std::int16_t& out);
// A whole field read as a 16-bit decimal integer with an optional sign.
NumberError parse_int16(std::string_view text, std::int16_t& out);

}  // namespace dalvo
