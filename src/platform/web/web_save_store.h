#pragma once
// Saved games in the browser: files of the in-memory file system, as on the desktop,
// each change copied to the browser's own database before the call returns to the game.

#include "platform/os/file_save_store.h"

namespace dalvo::platform {

class WebSaveStore final : public SaveStore {
public:
    std::string write(const std::filesystem::path& file, std::string_view bytes,
                      const AfterTemp& after_temp = {}) override;
    std::vector<std::filesystem::path> list(const std::filesystem::path& folder,
                                            std::string_view prefix) override;
    std::string remove(const std::filesystem::path& file) override;

private:
    FileSaveStore files_;
};

}  // namespace dalvo::platform
