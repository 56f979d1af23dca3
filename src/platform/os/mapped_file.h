#pragma once
// A whole file mapped read-only into memory for as long as the object lives.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <utility>

namespace dalvo::platform {

class MappedFile {
public:
    MappedFile() = default;
    // Empty (and `ok()` false) when the file cannot be opened or mapped.
    explicit MappedFile(const std::filesystem::path& file);
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    MappedFile& operator=(MappedFile&& other) noexcept {
        if (this != &other) {
            release();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool ok() const { return data_ != nullptr; }
    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
    // Takes the pages read so far out of the process's memory; later reads bring back
    // only what they touch. For a file read all over once (a font's tables when it
    // opens) and then in small places.
    void forget_pages() const;

private:
    void release();
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace dalvo::platform
