#include "platform/os/process.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win/wide.h"

namespace dalvo::platform {

std::filesystem::path program_dir(const char* /*argv0*/) { return win::exe_dir(); }

unsigned long process_id() { return GetCurrentProcessId(); }

// The C runtime's argv is in the ANSI code page: a Japanese folder name would not survive it.
std::vector<std::string> command_line_args(int /*argc*/, char** /*argv*/) {
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return args;
    for (int i = 1; i < count; ++i) args.push_back(win::to_utf8(wide[i]));
    LocalFree(wide);
    return args;
}

// Windows renames a folder only to a free name.
bool exchange_folders(const std::filesystem::path& /*a*/, const std::filesystem::path& /*b*/) { return false; }

}  // namespace dalvo::platform
