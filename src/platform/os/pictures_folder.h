#pragma once
// Where the player's screenshots go: the desktop's pictures folder (XDG_PICTURES_DIR
// of user-dirs.dirs, as xdg-user-dir reads it, else ~/Pictures), under "dalvo".

#include <filesystem>
#include <string>

namespace dalvo::platform {

std::filesystem::path pictures_folder();

// A new file name there, dated by the local time ("2026-12-24_21-05-33.png", with
// "-2", "-3"... when the second already has one); the folder is made. Empty, with
// `error` set, when it cannot be.
std::filesystem::path new_screenshot_file(std::string& error);

}  // namespace dalvo::platform
