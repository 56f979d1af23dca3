// Read-only file mappings.

#include "platform/os/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>


namespace dalvo::platform {

MappedFile::MappedFile(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        void* at = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (at != MAP_FAILED) {
            data_ = static_cast<const std::uint8_t*>(at);
            size_ = static_cast<std::size_t>(st.st_size);
        }
    }
    ::close(fd);
}

MappedFile::~MappedFile() { release(); }

void MappedFile::forget_pages() const {
    if (data_ != nullptr) (void)::madvise(const_cast<std::uint8_t*>(data_), size_, MADV_DONTNEED);
}

void MappedFile::release() {
    if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
}

}  // namespace dalvo::platform
