// The folder listing and write test on Windows: names through wide strings, given to the
// resolver as UTF-8.

#include <windows.h>

#include <string>

#include "platform/os/data_folder.h"
#include "platform/win/wide.h"

namespace dalvo::platform {

namespace fs = std::filesystem;

std::vector<FolderEntry> list_folder(const fs::path& dir) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileExW((dir / L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                         nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back({win::to_utf8(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
}

bool can_create_files_in(const fs::path& dir) {
    // The read-only attribute of a folder does not stop new files in it, and a CD or a
    // protected folder does without it: only trying tells.
    const fs::path probe = dir / (L".dalvo-write-test-" + std::to_wstring(GetCurrentProcessId()));
    const HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

fs::path utf8_path(std::string_view name) { return fs::path(win::to_wide(name)); }

}  // namespace dalvo::platform
