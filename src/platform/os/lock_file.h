#pragma once
// The desktop's single-instance test: an exclusive lock on a file named after the
// data folder, in the user's runtime folder.

#include "platform/services/instance_lock.h"

namespace dalvo::platform {

class LockFile final : public InstanceLock {
public:
    LockFile() = default;
    ~LockFile() override;
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    bool acquire(const std::filesystem::path& data_dir) override;

private:
    int fd_ = -1;
};

}  // namespace dalvo::platform
