// The player's pictures folder on Windows: the Pictures known folder (moved or not),
// else %USERPROFILE%\Pictures, under "dalvo".

#include "platform/os/pictures_folder.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cwchar>
#include <system_error>

namespace dalvo::platform {

namespace fs = std::filesystem;

fs::path pictures_folder() {
    fs::path dir;
    wchar_t* known = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_DEFAULT, nullptr, &known)) && known != nullptr) {
        dir = known;
    }
    CoTaskMemFree(known);
    if (dir.empty()) {
        const wchar_t* profile = _wgetenv(L"USERPROFILE");
        std::error_code ec;
        dir = profile != nullptr && *profile != L'\0' ? fs::path(profile) / L"Pictures" : fs::temp_directory_path(ec);
    }
    return dir / L"dalvo";
}

}  // namespace dalvo::platform
