#pragma once
// What the test rigs ask of the operating system, the same on Linux and on Windows.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dalvo::test {

// Sets (or with nullopt removes) an environment variable of this process.
void set_env(const std::string& name, const std::optional<std::string>& value);

// Runs `program` with `args`, its standard output and error written to the two files,
// and waits for it. The exit status; -1 when it did not exit normally (a signal).
int run_program(const std::filesystem::path& program, const std::vector<std::string>& args,
                const std::filesystem::path& out, const std::filesystem::path& err);

}  // namespace dalvo::test
