// Characters as the game counts them, whatever the code tables behind them.

#include <cstddef>

#include "platform/codec/text_codec.h"

namespace dalvo::platform {
namespace {

// Byte offset of code point `index` (or the string's end).
std::size_t offset_of(std::string_view s, int index) {
    std::size_t i = 0;
    for (int n = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == index) return i;
            ++n;
        }
    }
    return s.size();
}

}  // namespace

int char_count(std::string_view utf8) {
    int n = 0;
    for (const char ch : utf8) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    return n;
}

std::string char_substr(std::string_view utf8, int start, int count) {
    if (start < 0) start = 0;
    const std::size_t begin = offset_of(utf8, start);
    if (count < 0) return std::string(utf8.substr(begin));
    const std::size_t end = begin + offset_of(utf8.substr(begin), count);
    return std::string(utf8.substr(begin, end - begin));
}

bool is_half_width(std::string_view utf8_char) {
    if (utf8_char.empty()) return false;
    const auto b0 = static_cast<unsigned char>(utf8_char[0]);
    if (b0 < 0x80) return true;
    // Half-width katakana U+FF61..U+FF9F: EF BD A1..BF and EF BE 80..9F.
    if (utf8_char.size() < 3 || b0 != 0xEF) return false;
    const auto b1 = static_cast<unsigned char>(utf8_char[1]);
    const auto b2 = static_cast<unsigned char>(utf8_char[2]);
    return (b1 == 0xBD && b2 >= 0xA1 && b2 <= 0xBF) || (b1 == 0xBE && b2 >= 0x80 && b2 <= 0x9F);
}

}  // namespace dalvo::platform
