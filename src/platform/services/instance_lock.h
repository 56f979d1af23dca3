#pragma once
// One running game per data folder. The desktop holds a lock file; a browser tab
// is alone with its storage and needs none.

#include <filesystem>

namespace dalvo::platform {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // False when another running instance holds the data folder. Once true, the
    // folder stays held until this object ends.
    virtual bool acquire(const std::filesystem::path& data_dir) = 0;
};

// For a platform whose storage nobody else can reach.
class NoInstanceLock final : public InstanceLock {
public:
    bool acquire(const std::filesystem::path&) override { return true; }
};

}  // namespace dalvo::platform
