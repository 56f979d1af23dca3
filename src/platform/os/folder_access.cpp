// The desktop's folder listing and write test; a Windows build has its own file.

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <system_error>

#include "platform/os/data_folder.h"

namespace dalvo::platform {

namespace fs = std::filesystem;

std::vector<FolderEntry> list_folder(const fs::path& dir) {
    std::vector<FolderEntry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        entries.push_back({it->path().filename().string(), it->is_directory(kind)});
    }
    return entries;
}

bool can_create_files_in(const fs::path& dir) {
    // Root writes past permission bits, but not into a read-only mount: only trying tells.
    const fs::path probe = dir / (".dalvo-write-test-" + std::to_string(::getpid()));
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

// The desktop's names are bytes: a Shift-JIS name on disk stays as it is.
fs::path utf8_path(std::string_view name) { return fs::path(std::string(name)); }

}  // namespace dalvo::platform
