#pragma once
// Runs one game headless on a data folder, step by step, and collects what it showed.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game.h"
#include "platform/platform.h"

namespace dalvo::test {

// One line of "3.dat": the twelve fields a record uses (the thirteenth stays empty).
struct Rec {
    std::string scene = {}, cmd = {}, target = {}, place = {}, doll = {}, face = {}, spare = {},
                speaker = {}, text = {}, arg1 = {}, arg2 = {}, arg3 = {};
};
// The lines of "3.dat" for `records`, with a heading line first.
std::string script_text(const std::vector<Rec>& records);

class EngineRun {
public:
    explicit EngineRun(const std::filesystem::path& data_dir,
                       const std::filesystem::path& program_dir = {});
    ~EngineRun();

    Game& game() { return *game_; }
    EngineState& g() { return game_->g; }

    // Each returns the exit code when the program ended inside, else -1.
    int load();
    int run();  // Run_script from the current position
    int unload();

    // Texts of the message boxes shown so far.
    std::vector<std::string> messages() const;
    // Trace lines of one event kind.
    std::vector<std::string> events(std::string_view ev) const;
    std::string dump() const;

private:
    template <class F>
    int until_end(F f);

    std::unique_ptr<platform::PlatformSet> set_;
    std::vector<std::string> trace_;
    std::unique_ptr<Game> game_;
};

}  // namespace dalvo::test
