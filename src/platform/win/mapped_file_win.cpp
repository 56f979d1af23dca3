// Read-only file mappings through wide file names.

#include "platform/os/mapped_file.h"

#include <windows.h>


namespace dalvo::platform {

MappedFile::MappedFile(const std::filesystem::path& file) {
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    if (GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &size) && size.QuadPart > 0) {
        // The view keeps the mapping alive; neither handle is needed after it is made.
        if (const HANDLE mapping = CreateFileMappingW(h, nullptr, PAGE_READONLY, 0, 0, nullptr)) {
            if (void* at = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {
                data_ = static_cast<const std::uint8_t*>(at);
                size_ = static_cast<std::size_t>(size.QuadPart);
            }
            CloseHandle(mapping);
        }
    }
    CloseHandle(h);
}

MappedFile::~MappedFile() { release(); }

// Windows trims a process's pages by itself; a file's clean pages cost nothing to drop.
void MappedFile::forget_pages() const {}

void MappedFile::release() {
    if (data_ != nullptr) UnmapViewOfFile(data_);
    data_ = nullptr;
    size_ = 0;
}

}  // namespace dalvo::platform
