#pragma once
// The single-instance test: on the desktop an exclusive lock on a file named after the
// data folder, in the user's runtime folder; on Windows a mutex named after it.

#include <cstdint>

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
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;  // the file's descriptor, or the mutex's handle
};

}  // namespace dalvo::platform
