#pragma once
// Whole files of the data folder read in one call that never throws: whatever stands
// in the way (no file, a folder in its place, an error of the device, a size past the
// caller's limit, no memory) is a false answer the caller turns into its own message.

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>

namespace dalvo::platform {

enum class ReadFault { None, Missing, NotAFile, TooLarge, Unreadable };

// Replaces `out` with the bytes of `file`. On failure `out` is empty.
ReadFault read_whole_file(const std::filesystem::path& file, std::string& out,
                          std::size_t limit = std::size_t{1} << 30);

// The read loop of both systems' readers: reads to the end with `read_some(buffer, size)`
// (bytes read, 0 at the end, below 0 on a fault), never more than `limit` + 1 bytes: the
// byte past the limit tells a file too large, also one that grew after its size was taken.
template <class ReadSome>
ReadFault read_to_end(std::size_t expected, std::size_t limit, std::string& out, ReadSome read_some) {
    try {
        out.resize(expected + 1);
        std::size_t got = 0;
        while (true) {
            if (got == out.size()) {
                if (got > limit) return ReadFault::TooLarge;
                out.resize(std::min(limit + 1, std::max<std::size_t>(out.size() * 2, 4096)));
            }
            const long long n = read_some(out.data() + got, out.size() - got);
            if (n < 0) return ReadFault::Unreadable;
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        if (got > limit) return ReadFault::TooLarge;
        out.resize(got);
        return ReadFault::None;
    } catch (const std::bad_alloc&) {
        return ReadFault::TooLarge;
    } catch (const std::length_error&) {
        return ReadFault::TooLarge;
    }
}

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
