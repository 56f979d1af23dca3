#pragma once
// The head of a session's recording: what a replay needs to know it runs the same game.

#include <filesystem>
#include <string>
#include <vector>

namespace dalvo::app {

// Comment lines naming the program's version, the data folder's scenario (hashes of
// 3.dat and 39.dat) and the options the session started with.
std::string recording_header(const std::vector<std::string>& args, const std::filesystem::path& data_dir,
                             bool from_environment);

}  // namespace dalvo::app
