// Saved games as files, written whole to a temporary file and put in the slot's place in
// one step, so that a crash leaves either the old slot or the new one.

#include "platform/os/file_save_store.h"

#include <windows.h>

#include <algorithm>

#include "platform/win/wide.h"

namespace dalvo::platform {

namespace fs = std::filesystem;

namespace {

// Writes all of `bytes` to a new file and flushes it to the disk; 0 or a Windows error.
DWORD write_durable(const fs::path& file, std::string_view bytes) {
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD err = 0;
    std::size_t done = 0;
    while (done < bytes.size() && err == 0) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD n = 0;
        if (!WriteFile(h, bytes.data() + done, want, &n, nullptr)) err = GetLastError();
        done += n;
    }
    if (err == 0 && !FlushFileBuffers(h)) err = GetLastError();
    if (!CloseHandle(h) && err == 0) err = GetLastError();
    return err;
}

// ReplaceFileW keeps the slot's own attributes and fails on a missing slot, which the
// first save of a slot is; a move replaces in place, written through to the disk.
DWORD put_in_place(const fs::path& temp, const fs::path& file) {
    if (ReplaceFileW(file.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return 0;
    }
    if (MoveFileExW(temp.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    return GetLastError();
}

}  // namespace

std::string FileSaveStore::write(const fs::path& file, std::string_view bytes, const AfterTemp& after_temp) {
    fs::path temp = file;
    temp += ".tmp";
    if (const DWORD err = write_durable(temp, bytes); err != 0) {
        DeleteFileW(temp.c_str());
        return win::error_text(err);
    }
    if (after_temp) after_temp(temp);
    if (const DWORD err = put_in_place(temp, file); err != 0) {
        DeleteFileW(temp.c_str());
        return win::error_text(err);
    }
    return {};
}

std::vector<fs::path> FileSaveStore::list(const fs::path& folder, std::string_view prefix) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::u8string name = it->path().filename().u8string();
        if (it->is_regular_file(ec) && std::string_view(reinterpret_cast<const char*>(name.data()), name.size())
                                           .starts_with(prefix)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string FileSaveStore::remove(const fs::path& file) {
    if (DeleteFileW(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return {};
    return win::error_text(GetLastError());
}

}  // namespace dalvo::platform
