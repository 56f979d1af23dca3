#pragma once
// Shift-JIS (CP932) at the edge, UTF-8 inside, and character counts as the game counts them.

#include <optional>
#include <string>
#include <string_view>

namespace dalvo::platform {

// Decodes CP932 bytes. Bytes that do not decode become U+FFFD; never fails.
std::string sjis_to_utf8(std::string_view sjis);
// Encodes to CP932; nullopt when a character has no CP932 form.
std::optional<std::string> utf8_to_sjis(std::string_view utf8);

// Characters as the game counts them: one per code point (every CP932 character is one).
int char_count(std::string_view utf8);
// Characters [start, start + count) counted from 0; clipped to the string.
std::string char_substr(std::string_view utf8, int start, int count = -1);
// Length in bytes when every character takes two.
inline int wide_byte_length(std::string_view utf8) { return 2 * char_count(utf8); }
// True when the character at the given index is half-width in CP932 (one byte).
bool is_half_width(std::string_view utf8_char);

}  // namespace dalvo::platform
