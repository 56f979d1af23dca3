#pragma once
// Whole files of the data folder read in one call that never throws: whatever stands
// in the way (no file, a folder in its place, an error of the device, a size past the
// caller's limit, no memory) is a false answer the caller turns into its own message.

#include <cstddef>
#include <filesystem>
#include <string>

namespace dalvo::platform {

enum class ReadFault { None, Missing, NotAFile, TooLarge, Unreadable };

// Replaces `out` with the bytes of `file`. On failure `out` is empty.
ReadFault read_whole_file(const std::filesystem::path& file, std::string& out,
                          std::size_t limit = std::size_t{1} << 30);

// Text files end at their first 0x1A, the DOS end-of-file mark that editors of the
// time wrote after the last line: text input stops there and what follows is not text.
inline void cut_at_end_mark(std::string& text) {
    if (const std::size_t mark = text.find('\x1A'); mark != std::string::npos) text.resize(mark);
}

// A few words for a message: "no such file", "not a file", ... (one text on every system).
inline const char* describe(ReadFault fault) {
    switch (fault) {
        case ReadFault::None: return "read";
        case ReadFault::Missing: return "no such file";
        case ReadFault::NotAFile: return "not a file";
        case ReadFault::TooLarge: return "too large";
        case ReadFault::Unreadable: return "cannot read";
    }
    return "cannot read";
}

}  // namespace dalvo::platform
