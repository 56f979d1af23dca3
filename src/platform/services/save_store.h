#pragma once
// Where saved games live. The desktop keeps them as files of the data folder; a
// browser keeps them in its own storage. Game code reaches them only through here.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dalvo::platform {

class SaveStore {
public:
    virtual ~SaveStore() = default;

    // Runs after the new content is stored beside the file and before it takes the
    // file's place (a test stops a save there).
    using AfterTemp = std::function<void(const std::filesystem::path& temp)>;

    // Replaces `file` by `bytes` so that at every moment it holds either its old or its
    // new content, and keeps the new one across a power cut once this returns. Returns
    // an empty string, or why it failed (the file is then as it was).
    virtual std::string write(const std::filesystem::path& file, std::string_view bytes,
                              const AfterTemp& after_temp = {}) = 0;
    // The regular files of `folder` whose names start with `prefix`, sorted by name.
    virtual std::vector<std::filesystem::path> list(const std::filesystem::path& folder,
                                                    std::string_view prefix) = 0;
    // Removes `file`; an empty string when it is gone (also when it never was), else why not.
    virtual std::string remove(const std::filesystem::path& file) = 0;
};

}  // namespace dalvo::platform
