#pragma once
// UTF-8 inside, UTF-16 at the Windows API: file names cross here, never through the
// ANSI code page, which would garble Japanese names.

#include <filesystem>
#include <string>
#include <string_view>

namespace dalvo::platform::win {

std::wstring to_wide(std::string_view utf8);
std::string to_utf8(std::wstring_view wide);
// The folder dalvo.exe lies in.
std::filesystem::path exe_dir();
// A Windows error code as the system words it.
std::string error_text(unsigned long code);

}  // namespace dalvo::platform::win
