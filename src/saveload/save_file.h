#pragma once
// The save files 40.dat, 41.dat and 42.dat: the time of saving and the day-start
// record `g_Flags`, one value a line in Shift-JIS with CR LF, closed by "\".

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/os/clock.h"
#include "platform/os/data_folder.h"
#include "platform/services/save_store.h"

namespace dalvo {

inline constexpr int kSlotCount = 3;

using DayStartRecord = std::array<std::string, 21>;

enum class SlotState {
    Empty,    // no file
    Used,     // a complete record that a load can hand to `Continue_game`
    Damaged,  // a file that cannot be read, is cut short or holds values that do not convert
};

struct SlotData {
    SlotState state = SlotState::Empty;
    std::string saved_at;  // "yyyy/mm/dd hh:mm"
    DayStartRecord flags{};
};

// The file of slot 0..2: in the data folder, or in the player's folder when the data
// folder cannot be written.
std::filesystem::path slot_file(const platform::DataFolder& data, int slot);

// Reads and checks a slot file. `script_last` is `g_ScriptLast`: a record position
// that does not lie before it cannot be resumed.
SlotData read_slot(const std::filesystem::path& file, std::int32_t script_last);
// The same check on the bytes of a slot file that exists.
SlotData slot_from_bytes(std::string_view bytes, std::int32_t script_last);

// The 23 lines of a save file, encoded; nullopt when a value has no Shift-JIS form.
std::optional<std::string> save_file_bytes(const platform::LocalTime& now, const DayStartRecord& flags);

// Puts `bytes` in the store as `file` so that the slot holds either its old or its
// new content at every moment. `after_temp` (may be empty) runs after the new content
// is stored beside the slot and before it takes its place. Returns an empty string,
// or why the save failed (the slot is then as it was).
std::string write_slot(platform::SaveStore& store, const std::filesystem::path& file, const std::string& bytes,
                       const platform::SaveStore::AfterTemp& after_temp);
// Empties a slot; an empty string, or why the file stays.
std::string remove_slot(platform::SaveStore& store, const std::filesystem::path& file);


// The slot label: the saved half-day's date in full-width characters, five blanks and
// the time of saving as "(mm/dd hh:mm)". `date_text` is the half-day's "mm/dd AM".
std::string slot_caption(const std::string& date_text, const std::string& saved_at);

// Half-width letters, digits, signs and the blank turned into their full-width forms.
std::string to_full_width(const std::string& text);

}  // namespace dalvo
