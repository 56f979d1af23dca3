// Whole-file reads on the system's own calls: the standard streams report a folder
// read as a file by an exception out of their iterators.

#include "platform/os/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

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

// Reads to the end, never more than `limit` + 1 bytes: the byte past the limit tells a
// file too large, also one that grew after its size was taken.
ReadFault read_all(int fd, std::size_t expected, std::size_t limit, std::string& out) {
    try {
        out.resize(expected + 1);
        std::size_t got = 0;
        while (true) {
            if (got == out.size()) {
                if (got > limit) return ReadFault::TooLarge;
                out.resize(std::min(limit + 1, std::max<std::size_t>(out.size() * 2, 4096)));
            }
            const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return ReadFault::Unreadable;
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
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
    const Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return errno == ENOENT || errno == ENOTDIR ? ReadFault::Missing : ReadFault::Unreadable;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return ReadFault::Unreadable;
    if (!S_ISREG(st.st_mode)) return ReadFault::NotAFile;
    if (static_cast<std::uintmax_t>(st.st_size) > limit) return ReadFault::TooLarge;
    const ReadFault fault = read_all(fd.get(), static_cast<std::size_t>(st.st_size), limit, out);
    if (fault != ReadFault::None) out.clear();
    return fault;
}

}  // namespace dalvo::platform
