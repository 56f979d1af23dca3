// Whole-file reads through wide file names.

#include "platform/os/file_read.h"

#include <windows.h>

#include <algorithm>

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
    const ReadFault fault =
        read_to_end(static_cast<std::size_t>(size.QuadPart), limit, out, [&](char* buffer, std::size_t room) {
            DWORD n = 0;
            const auto want = static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30));
            return ReadFile(h.get(), buffer, want, &n, nullptr) ? static_cast<long long>(n) : -1LL;
        });
    if (fault != ReadFault::None) out.clear();
    return fault;
}

}  // namespace dalvo::platform
