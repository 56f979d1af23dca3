#include "support/system.h"

#include <sys/wait.h>

#include <cstdlib>

namespace dalvo::test {

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

}  // namespace dalvo::test
