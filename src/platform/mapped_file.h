#pragma once
// A whole file mapped read-only into memory for as long as the object lives.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace dalvo::platform {

class MappedFile {
public:
    MappedFile() = default;
    // Empty (and `ok()` false) when the file cannot be opened or mapped.
    explicit MappedFile(const std::filesystem::path& file);
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool ok() const { return data_ != nullptr; }
    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

private:
    void release();
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace dalvo::platform
