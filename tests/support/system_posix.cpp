#include "support/system.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "support/fixture.h"

namespace dalvo::test {

namespace fs = std::filesystem;

void set_env(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

int run_program(const std::filesystem::path& program, const std::vector<std::string>& args,
                const std::filesystem::path& out, const std::filesystem::path& err) {
    const auto quoted = [](const std::string& s) {
        std::string q = "'";
        for (const char c : s) q.append(c == '\'' ? "'\\''" : std::string(1, c));
        return q.append("'");
    };
    // `exec` lets a signal that ends the program show as such.
    std::string cmd = "exec " + quoted(program.string());
    for (const std::string& a : args) cmd.append(" ").append(quoted(a));
    cmd.append(" >").append(quoted(out.string())).append(" 2>").append(quoted(err.string()));
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ReadOnlyMount::ReadOnlyMount(const fs::path& path) : path_(path) {
    if (::geteuid() != 0) {
        why_ = "needs root for a mount namespace";
    } else if (::unshare(CLONE_NEWNS) != 0) {
        why_ = std::string("unshare refused: ") + std::strerror(errno);
    } else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
               ::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        why_ = std::string("bind mount refused: ") + std::strerror(errno);
    } else if (::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        why_ = std::string("read-only remount refused: ") + std::strerror(errno);
        ::umount2(path.c_str(), MNT_DETACH);
    }
}

ReadOnlyMount::~ReadOnlyMount() {
    if (why_.empty()) ::umount2(path_.c_str(), MNT_DETACH);
}

}  // namespace dalvo::test
