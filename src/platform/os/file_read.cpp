// Whole-file reads on the system's own calls: the standard streams report a folder
// read as a file by an exception out of their iterators.

#include "platform/os/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace dalvo::platform {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

ReadFault read_whole_file(const std::filesystem::path& file, std::string& out, std::size_t limit) {
    out.clear();
    const Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return errno == ENOENT || errno == ENOTDIR ? ReadFault::Missing : ReadFault::Unreadable;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return ReadFault::Unreadable;
    if (!S_ISREG(st.st_mode)) return ReadFault::NotAFile;
    if (static_cast<std::uintmax_t>(st.st_size) > limit) return ReadFault::TooLarge;
    const ReadFault fault =
        read_to_end(static_cast<std::size_t>(st.st_size), limit, out, [&](char* buffer, std::size_t room) {
            while (true) {
                const ssize_t n = ::read(fd.get(), buffer, room);
                if (n >= 0 || errno != EINTR) return static_cast<long long>(n);
            }
        });
    if (fault != ReadFault::None) out.clear();
    return fault;
}

}  // namespace dalvo::platform
