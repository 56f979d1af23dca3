#include "saveload/save_file.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <system_error>

#include "engine/field_reader.h"
#include "engine/scenario_loader.h"
#include "platform/os/file_read.h"
#include "platform/codec/text_codec.h"

namespace dalvo {

namespace fs = std::filesystem;

namespace {

// A save file is 23 short lines; anything far larger is not one.
constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;
constexpr int kValueCount = 22;  // the time of saving and the 21 entries

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// "yyyy/mm/dd hh:mm" with digits where digits belong.
bool is_saved_at(const std::string& t) {
    static constexpr const char* kShape = "0000/00/00 00:00";
    if (t.size() != std::strlen(kShape)) return false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (kShape[i] == '0' ? !is_digit(t[i]) : t[i] != kShape[i]) return false;
    }
    return true;
}

bool is_number(const std::string& text, std::int16_t& value) {
    return parse_int16(text, value) == NumberError::None;
}

bool is_truth(const std::string& text) {
    std::int16_t value = 0;
    return text == "True" || text == "False" || is_number(text, value);
}

// What `Continue_game` can turn back into the engine state without guessing.
bool is_resumable(const DayStartRecord& f, std::int32_t script_last) {
    std::int16_t value = 0;
    for (int i : {0, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}) {
        if (!is_number(f[i], value)) return false;
    }
    if (!is_truth(f[3]) || !is_truth(f[4])) return false;
    // The script goes on at the record after the half-day's "g1"; a new game's record
    // names the place just before the first record.
    is_number(f[6], value);
    if (value < -1 || value >= script_last) return false;
    // Music numbers name the entries 1..9 of the names list; 0 is none.
    is_number(f[20], value);
    return value >= 0 && value <= 9;
}

}  // namespace

fs::path slot_file(const platform::DataFolder& data, int slot) {
    std::string name = "4";
    name += std::to_string(slot);
    name += ".dat";
    return data.save_path(name);
}

SlotData read_slot(const fs::path& file, std::int32_t script_last) {
    std::string bytes;
    const platform::ReadFault fault = platform::read_whole_file(file, bytes, kMaxFileBytes);
    if (fault == platform::ReadFault::Missing) return SlotData{};
    if (fault != platform::ReadFault::None) {
        SlotData damaged;
        damaged.state = SlotState::Damaged;
        return damaged;
    }
    return slot_from_bytes(bytes, script_last);
}

SlotData slot_from_bytes(std::string_view bytes, std::int32_t script_last) {
    SlotData slot;
    slot.state = SlotState::Damaged;
    if (bytes.size() > kMaxFileBytes) return slot;
    std::string before_mark(bytes);
    platform::cut_at_end_mark(before_mark);
    const std::string text = platform::sjis_to_utf8(before_mark);
    FieldReader reader(text);
    std::string values[kValueCount];
    for (std::string& value : values) {
        if (!reader.next(value)) return slot;
    }
    if (!is_saved_at(values[0])) return slot;
    for (int i = 0; i < 21; ++i) slot.flags[i] = values[i + 1];
    if (!is_resumable(slot.flags, script_last)) return slot;
    slot.saved_at = values[0];
    slot.state = SlotState::Used;
    return slot;
}

std::optional<std::string> save_file_bytes(const platform::LocalTime& now, const DayStartRecord& flags) {
    char saved_at[32];
    std::snprintf(saved_at, sizeof saved_at, "%04d/%02d/%02d %02d:%02d", now.year, now.month, now.day,
                  now.hour, now.minute);
    std::string text = std::string(saved_at) + "\r\n";
    for (const std::string& value : flags) text += value + "\r\n";
    text += "\\\r\n";
    return platform::utf8_to_sjis(text);
}

std::string write_slot(platform::SaveStore& store, const fs::path& file, const std::string& bytes,
                       const platform::SaveStore::AfterTemp& after_temp) {
    return store.write(file, bytes, after_temp);
}

std::string remove_slot(platform::SaveStore& store, const fs::path& file) { return store.remove(file); }

std::string to_full_width(const std::string& text) {
    std::string out;
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c > 0x7E) {
            out += ch;
            continue;
        }
        const char32_t wide = c == ' ' ? U'\u3000' : U'\uFF01' + (c - 0x21);
        // Every full-width form lies in the three-byte range of UTF-8.
        out += static_cast<char>(0xE0 | (wide >> 12));
        out += static_cast<char>(0x80 | ((wide >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (wide & 0x3F));
    }
    return out;
}

std::string slot_caption(const std::string& date_text, const std::string& saved_at) {
    // saved_at is "yyyy/mm/dd hh:mm"; the label leaves out the year.
    return to_full_width(date_text) + "     (" + saved_at.substr(5) + ")";
}

}  // namespace dalvo
