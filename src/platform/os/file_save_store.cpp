#include "platform/os/file_save_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace dalvo::platform {

namespace fs = std::filesystem;

namespace {

std::string errno_text(int err) { return std::system_category().message(err); }

// Writes all of `bytes` to a new file and makes it durable; 0 or an errno value.
int write_durable(const fs::path& file, std::string_view bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    std::size_t done = 0;
    int err = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

// The rename itself survives a power cut only once the folder is on disk.
void sync_folder(const fs::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string FileSaveStore::write(const fs::path& file, std::string_view bytes, const AfterTemp& after_temp) {
    // The player's own folder is made by its first save.
    std::error_code made;
    if (const fs::path dir = file.parent_path(); !dir.empty() && !fs::is_directory(dir, made)) {
        fs::create_directories(dir, made);
    }
    fs::path temp = file;
    temp += ".tmp";
    if (const int err = write_durable(temp, bytes); err != 0) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return errno_text(err);
    }
    if (after_temp) after_temp(temp);
    std::error_code ec;
    fs::rename(temp, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return ec.message();
    }
    sync_folder(file.parent_path());
    return {};
}

std::vector<fs::path> FileSaveStore::list(const fs::path& folder, std::string_view prefix) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec) && it->path().filename().string().starts_with(prefix)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string FileSaveStore::remove(const fs::path& file) {
    std::error_code ec;
    fs::remove(file, ec);
    if (ec) return ec.message();
    sync_folder(file.parent_path());
    return {};
}

}  // namespace dalvo::platform
