#pragma once
// Runs one game headless on a data folder, step by step, and collects what it showed.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/game.h"
#include "platform/platform.h"
#include "support/fixture.h"

namespace dalvo::test {

// One line of "3.dat": the twelve fields a record uses (the thirteenth stays empty).
struct Rec {
    std::string scene = {}, cmd = {}, target = {}, place = {}, doll = {}, face = {}, spare = {},
                speaker = {}, text = {}, arg1 = {}, arg2 = {}, arg3 = {};
};
// The lines of "3.dat" for `records`, with a heading line first.
std::string script_text(const std::vector<Rec>& records);
// "39.dat" with one choice that leads from the first scene of `records` back to it.
std::string first_scene_choice(const std::vector<Rec>& records);

class EngineRun {
public:
    // Headless, unless `make_platform` gives another platform (the real window).
    explicit EngineRun(const std::filesystem::path& data_dir,
                       const std::filesystem::path& program_dir = {},
                       const std::function<std::unique_ptr<platform::PlatformSet>()>& make_platform = {});
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

// A test on one fixture folder with a script of its own.
class ScriptTest : public ::testing::Test {
protected:
    // Writes "3.dat" and "39.dat" and loads the game; returns the exit code, -1 when the
    // load returned.
    int load(const std::string& script, const std::string& choices) {
        data_.write_text("3.dat", script);
        data_.write_text("39.dat", choices);
        run_ = std::make_unique<EngineRun>(data_.path());
        return run_->load();
    }
    int load(const std::vector<Rec>& records) { return load(script_text(records), first_scene_choice(records)); }
    // Loads and runs the script from record 0 without click waits.
    int play(const std::vector<Rec>& records) {
        const int loaded = load(records);
        if (loaded != -1) return loaded;
        g().g_MsgSpeed = 0;
        return run_->run();
    }
    EngineState& g() { return run_->g(); }

    FixtureFolder data_;
    std::unique_ptr<EngineRun> run_;
};

}  // namespace dalvo::test
