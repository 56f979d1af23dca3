// The single-instance test on Windows: a named mutex per data folder, which the system
// lets go when the process ends, however it ends.

#include "platform/os/lock_file.h"

#include <windows.h>

#include <cstdio>

#include "platform/codec/fnv1a.h"
#include "platform/win/wide.h"

namespace dalvo::platform {

LockFile::~LockFile() {
    if (handle_ != kNone) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool LockFile::acquire(const std::filesystem::path& data_dir) {
    if (handle_ != kNone) return true;
    std::error_code ec;
    std::filesystem::path key = std::filesystem::weakly_canonical(std::filesystem::absolute(data_dir), ec);
    if (ec) key = data_dir;
    // Windows names are not case-sensitive: one folder, one name.
    std::wstring folder = key.wstring();
    CharLowerBuffW(folder.data(), static_cast<DWORD>(folder.size()));
    char name[48];
    std::snprintf(name, sizeof name, "Local\\dalvo-%016llx",
                  static_cast<unsigned long long>(fnv1a(win::to_utf8(folder))));
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, win::to_wide(name).c_str());
    // Without a mutex the test cannot be made; running beats refusing to run.
    if (mutex == nullptr) return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
    return true;
}

}  // namespace dalvo::platform
