// Shift-JIS through Windows' own code page 932, which is the C library's CP932 of the
// desktop build but for one byte: Windows reads 0x80 as U+0080, the desktop refuses it.
// The desktop's reading is kept, so that a data folder reads alike on both.

#include "platform/codec/text_codec.h"

#include <windows.h>

#include "platform/win/wide.h"

namespace dalvo::platform {
namespace {

constexpr UINT kCp932 = 932;
constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Decodes a run that holds no undecodable byte; false when one is in it.
bool decode_strict(std::string_view sjis, std::wstring& out) {
    out.clear();
    if (sjis.empty()) return true;
    const int size = static_cast<int>(sjis.size());
    const int n = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, sjis.data(), size, nullptr, 0);
    if (n <= 0) return false;
    out.resize(static_cast<std::size_t>(n));
    return MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, sjis.data(), size, out.data(), n) == n;
}

bool is_lead_byte(unsigned char b) { return IsDBCSLeadByteEx(kCp932, b) != FALSE; }

// Empty when the character does not decode.
std::string decode_char(std::string_view bytes) {
    if (bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) == 0x80) return {};
    std::wstring wide;
    if (!decode_strict(bytes, wide)) return {};
    return win::to_utf8(wide);
}

}  // namespace

std::string sjis_to_utf8(std::string_view sjis) {
    std::wstring wide;
    if (sjis.find('\x80') == std::string_view::npos && decode_strict(sjis, wide)) return win::to_utf8(wide);
    // Character by character: an undecodable byte (or a lead byte cut off at the end)
    // stands for one replacement character, and decoding goes on after it.
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    std::size_t i = 0;
    while (i < sjis.size()) {
        const bool pair = is_lead_byte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size();
        std::string ch = decode_char(sjis.substr(i, pair ? 2 : 1));
        if (ch.empty()) {
            out += kReplacement;
            ++i;
            continue;
        }
        out += ch;
        i += pair ? 2 : 1;
    }
    return out;
}

std::optional<std::string> utf8_to_sjis(std::string_view utf8) {
    if (utf8.empty()) return std::string();
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), n);
    std::string out;
    out.reserve(wide.size() * 2);
    // One character at a time: a character with no CP932 form must fail the whole text.
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == 0x80) return std::nullopt;
        const int units = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() ? 2 : 1;
        char bytes[8];
        BOOL defaulted = FALSE;
        const int got = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data() + i, units, bytes,
                                            sizeof bytes, nullptr, &defaulted);
        if (got <= 0 || defaulted) return std::nullopt;
        out.append(bytes, static_cast<std::size_t>(got));
        i += static_cast<std::size_t>(units - 1);
    }
    return out;
}

}  // namespace dalvo::platform
