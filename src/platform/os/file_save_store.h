#pragma once
// Saved games as files of the desktop's file system.

#include "platform/services/save_store.h"

namespace dalvo::platform {

class FileSaveStore final : public SaveStore {
public:
    // Makes FILE's folder when it is missing, writes FILE.tmp, flushes it to disk, renames it over FILE and flushes the folder.
    std::string write(const std::filesystem::path& file, std::string_view bytes,
                      const AfterTemp& after_temp = {}) override;
    std::vector<std::filesystem::path> list(const std::filesystem::path& folder,
                                            std::string_view prefix) override;
    std::string remove(const std::filesystem::path& file) override;
};

}  // namespace dalvo::platform
