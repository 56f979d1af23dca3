// Whole-file reads through wide file names.

#include "platform/os/file_read.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace dalvo::platform {

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (ok()) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

bool is_missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Reads to the end, never more than `limit` + 1 bytes: the byte past the limit tells a
// file too large, also one that grew after its size was taken.
ReadFault read_all(HANDLE file, std::size_t expected, std::size_t limit, std::string& out) {
    try {
        out.resize(expected + 1);
        std::size_t got = 0;
        while (true) {
            if (got == out.size()) {
                if (got > limit) return ReadFault::TooLarge;
                out.resize(std::min(limit + 1, std::max<std::size_t>(out.size() * 2, 4096)));
            }
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - got, 1u << 30));
            DWORD n = 0;
            if (!ReadFile(file, out.data() + got, want, &n, nullptr)) return ReadFault::Unreadable;
            if (n == 0) break;
            got += n;
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

}  // namespace

ReadFault read_whole_file(const std::filesystem::path& file, std::string& out, std::size_t limit) {
    out.clear();
    // A device (NUL, CON) has no attributes to tell; opening it does.
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES && is_missing(GetLastError())) return ReadFault::Missing;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return ReadFault::NotAFile;
    }
    const Handle h(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.ok()) return is_missing(GetLastError()) ? ReadFault::Missing : ReadFault::Unreadable;
    if (GetFileType(h.get()) != FILE_TYPE_DISK) return ReadFault::NotAFile;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h.get(), &size)) return ReadFault::Unreadable;
    if (static_cast<std::uintmax_t>(size.QuadPart) > limit) return ReadFault::TooLarge;
    const ReadFault fault = read_all(h.get(), static_cast<std::size_t>(size.QuadPart), limit, out);
    if (fault != ReadFault::None) out.clear();
    return fault;
}

}  // namespace dalvo::platform
