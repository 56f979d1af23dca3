#pragma once
// The running program as the system sees it: where it lies and what it was given.

#include <filesystem>
#include <string>
#include <vector>

namespace dalvo::platform {

// The folder the program's file lies in.
std::filesystem::path program_dir(const char* argv0);
// This process's number, unique among the running ones.
unsigned long process_id();
// The arguments after the program's name, in UTF-8.
std::vector<std::string> command_line_args(int argc, char** argv);

// Swaps two folders' names in one step, so that a reader sees one or the other, never
// neither; false where the file system cannot (then the caller renames twice).
bool exchange_folders(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace dalvo::platform
