#pragma once
// What the slot dialog keeps beside the engine state.

#include <filesystem>
#include <functional>

namespace dalvo {

struct FileWindow;

struct SaveLoadState {
    // The slot dialog while it is loaded; nullptr otherwise.
    FileWindow* window = nullptr;
    // Runs when the temporary file of a save is complete and before it replaces the
    // slot file. Tests throw from it to play a crash at the worst moment.
    std::function<void(const std::filesystem::path& temp)> after_temp_written;
};

}  // namespace dalvo
