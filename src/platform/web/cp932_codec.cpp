// Shift-JIS for the browser build: the CP932 tables of the desktop's C library,
// generated at build time (the browser's C library knows only plain Shift-JIS).

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/codec/text_codec.h"

namespace dalvo::platform {
namespace {

struct CodePair {
    std::uint32_t code;   // CP932: one byte, or lead << 8 | trail
    std::uint32_t point;  // Unicode
};
// For kCp932Encode the fields read {code point, code}.
#include "cp932_table.inc"

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::uint32_t kNone = 0xFFFFFFFF;

// Code point of every one- and two-byte code; kNone where none decodes.
const std::vector<std::uint32_t>& decode_table() {
    static const std::vector<std::uint32_t> table = [] {
        std::vector<std::uint32_t> t(0x10000, kNone);
        for (const CodePair& p : kCp932Decode) t[p.code] = p.point;
        return t;
    }();
    return table;
}

void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The next code point of `s` from `i`; kNone for a malformed sequence.
std::uint32_t next_point(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80) return b0;
    int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) > s.size()) return kNone;
    std::uint32_t cp = b0 & (0x3F >> extra);
    for (; extra > 0; --extra) {
        const auto b = static_cast<unsigned char>(s[i++]);
        if ((b & 0xC0) != 0x80) return kNone;
        cp = cp << 6 | (b & 0x3F);
    }
    return cp;
}

}  // namespace

std::string sjis_to_utf8(std::string_view sjis) {
    const std::vector<std::uint32_t>& table = decode_table();
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    for (std::size_t i = 0; i < sjis.size();) {
        const auto b = static_cast<unsigned char>(sjis[i]);
        if (table[b] != kNone) {
            append_utf8(out, table[b]);
            ++i;
            continue;
        }
        // A two-byte code; a byte that starts none (or whose second byte is missing or
        // wrong) stands for one replacement character and decoding goes on after it.
        if (i + 1 < sjis.size()) {
            const std::uint32_t code = b << 8 | static_cast<unsigned char>(sjis[i + 1]);
            if (table[code] != kNone && code > 0xFF) {
                append_utf8(out, table[code]);
                i += 2;
                continue;
            }
        }
        out += kReplacement;
        ++i;
    }
    return out;
}

std::optional<std::string> utf8_to_sjis(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t cp = next_point(utf8, i);
        if (cp == kNone) return std::nullopt;
        // kCp932Encode is sorted by code point; its pairs read {code point, code}.
        const auto* end = std::end(kCp932Encode);
        const auto* it = std::lower_bound(std::begin(kCp932Encode), end, cp,
                                          [](const CodePair& p, std::uint32_t v) { return p.code < v; });
        if (it == end || it->code != cp) return std::nullopt;
        if (it->point > 0xFF) out += static_cast<char>(it->point >> 8);
        out += static_cast<char>(it->point & 0xFF);
    }
    return out;
}

}  // namespace dalvo::platform
