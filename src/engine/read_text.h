#pragma once
// Which records' messages the player has seen, kept across sessions in the player's
// own folder, one file per story (the hash of its scenario names the file).

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dalvo {

class ReadText {
public:
    // The story is the scenario's bytes; what was read of another story is not this one's.
    void set_story(std::string_view scenario_bytes);
    // Read from `folder` once, at the first question; later marks are kept in memory
    // until save().
    bool is_read(const std::filesystem::path& folder, std::int32_t record);
    void mark(const std::filesystem::path& folder, std::int32_t record);
    // Writes the marks when some are new; false with `error` set when it cannot.
    bool save(const std::filesystem::path& folder, std::string& error);

    static std::filesystem::path file(const std::filesystem::path& folder, std::uint64_t story);

private:
    void load(const std::filesystem::path& folder);

    std::uint64_t story_ = 0;
    bool loaded_ = false;
    bool changed_ = false;
    std::vector<bool> read_;
};

}  // namespace dalvo
