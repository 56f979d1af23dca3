#include "platform/web/web_save_store.h"

#include "platform/web/web_page.h"

namespace dalvo::platform {

namespace fs = std::filesystem;

std::string WebSaveStore::write(const fs::path& file, std::string_view bytes, const AfterTemp& after_temp) {
    std::string error = files_.write(file, bytes, after_temp);
    if (error.empty()) error = page::store_file(file.string());
    return error;
}

std::vector<fs::path> WebSaveStore::list(const fs::path& folder, std::string_view prefix) {
    return files_.list(folder, prefix);
}

std::string WebSaveStore::remove(const fs::path& file) {
    std::string error = files_.remove(file);
    if (error.empty()) error = page::unstore_file(file.string());
    return error;
}

}  // namespace dalvo::platform
