#include "platform/os/process.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace dalvo::platform {

namespace fs = std::filesystem;

fs::path program_dir(const char* argv0) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return exe.parent_path();
    return fs::absolute(argv0, ec).parent_path();
}

unsigned long process_id() { return static_cast<unsigned long>(::getpid()); }

std::vector<std::string> command_line_args(int argc, char** argv) { return {argv + 1, argv + argc}; }

bool exchange_folders(const fs::path& a, const fs::path& b) {
#ifdef RENAME_EXCHANGE
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
#else
    // The browser's C library has no exchange: the caller renames twice instead.
    (void)a;
    (void)b;
    return false;
#endif
}

}  // namespace dalvo::platform
