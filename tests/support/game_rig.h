#pragma once
// One headless game for a test: the platform, the game on a data folder, the trace
// read back as JSON, the screen as the player saw it, the state dump, and input
// scheduled on the virtual clock. The rigs of the test folders add only their subject.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "engine/game.h"
#include "platform/platform.h"
#include "support/fixture.h"
#include "support/json_value.h"
#include "support/picture_check.h"

namespace dalvo::test {

struct RigOptions {
    std::filesystem::path data_dir = {};     // empty: a fixture folder of the rig's own
    std::filesystem::path program_dir = {};  // empty: the data folder
    std::uint32_t master_level = 65535;      // what the master level reads until the game sets it
    bool mixer_fails = false;                // the master-level service cannot be opened
    // Another platform than the headless one (the real window).
    std::function<std::unique_ptr<platform::PlatformSet>()> make_platform = {};
};

class GameRig {
public:
    explicit GameRig(RigOptions options = {});
    virtual ~GameRig();
    GameRig(const GameRig&) = delete;
    GameRig& operator=(const GameRig&) = delete;

    Game& game() { return *game_; }
    EngineState& g() { return game_->g; }
    WindowState& w() { return game_->w; }
    MainForm& ui() { return game_->ui; }
    platform::Host& host() { return game_->p.host; }
    FixtureFolder& folder() { return *folder_; }  // only with a folder of the rig's own
    std::uint32_t now() { return game_->p.clock.ticks(); }

    // Each returns the exit code when the program ended inside it, else -1.
    int until_end(const std::function<void()>& f);
    int load();    // the window load
    int run();     // the script from its current record
    int unload();  // the window closed

    // The trace events of kind `ev` (every event when empty) since the last clear, and
    // of those the ones that match `pattern` (see matches()).
    std::vector<Json> events(std::string_view ev = {}, std::string_view pattern = "{}") const;
    // The first event matching `pattern`; null, failing the test, when there is none.
    Json first(std::string_view pattern) const;
    // The clock ("t") of each of events(ev, pattern).
    std::vector<std::uint32_t> times(std::string_view ev, std::string_view pattern = "{}") const;
    // The texts of the message boxes shown so far.
    std::vector<std::string> messages() const;
    void clear_trace() { trace_.clear(); }
    // Called with every trace event as it is written.
    std::function<void(const Json&)> on_trace;

    // The form (the game window when none) as the player sees it: as last presented,
    // after the present of this turn; empty before the form's first present.
    platform::Surface screen();
    platform::Surface screen_of(const platform::Form& form);
    // The form composed now, presented or not.
    static platform::Surface composed(const platform::Form& form);
    Json dump() const;

    // Runs `action` inside the first yield at least `ms` from now: the game's own waits
    // yield. From then on (or from schedule()), a wait that nothing ends fails the test
    // after ten virtual minutes instead of hanging it.
    void schedule();
    void at(std::uint32_t ms, std::function<void()> action);
    void post_at(std::uint32_t ms, platform::InputEvent event);
    void click_at(std::uint32_t ms, int x, int y, platform::MouseButton b = platform::MouseButton::Left);
    // Called in every yield once time has passed, beside the scheduled actions.
    std::function<void()> sample;
    // Calls `look` at every yield of the game, even one in which no time passed, until
    // watch({}).
    void watch(std::function<void()> look);
    // Posts `event` and yields once, so that its handlers have run on return.
    void send(platform::InputEvent event);
    void press(const std::string& form, const std::string& control) { send(platform::PressControl{form, control}); }
    void key(int code) { send(platform::KeyDown{host().active_form()->name, code}); }  // to the active form
    // Lets `ms` of virtual time pass with the window served every 10 ms.
    void idle(std::uint32_t ms);

private:
    class FailingLevel;

    std::optional<FixtureFolder> folder_;
    std::unique_ptr<platform::PlatformSet> set_;
    std::unique_ptr<platform::MasterLevel> failing_;
    std::optional<platform::Platform> platform_;
    std::vector<Json> trace_;
    std::unique_ptr<Game> game_;
    std::vector<std::pair<std::uint32_t, std::function<void()>>> due_;
    bool scheduling_ = false;
    platform::Timer* watcher_ = nullptr;
    std::function<void()> look_;
};

// The "t" of an event.
inline std::uint32_t time_of(const Json& event) { return static_cast<std::uint32_t>(event["t"].num()); }

// One line of "3.dat": the twelve fields a record uses (the thirteenth stays empty).
struct Rec {
    std::string scene = {}, cmd = {}, target = {}, place = {}, doll = {}, face = {}, spare = {},
                speaker = {}, text = {}, arg1 = {}, arg2 = {}, arg3 = {};
};
// The lines of "3.dat" for `records`, with a heading line first.
std::string script_text(const std::vector<Rec>& records);
// "39.dat" with one choice that leads from the first scene of `records` back to it.
std::string first_scene_choice(const std::vector<Rec>& records);

// A test on one fixture folder with a script of its own.
class ScriptTest : public ::testing::Test {
protected:
    // Writes "3.dat" and "39.dat" and loads a new game on them; returns the exit code,
    // -1 when the load returned.
    int load(const std::string& script, const std::string& choices) {
        data_.write_text("3.dat", script);
        data_.write_text("39.dat", choices);
        run_ = std::make_unique<GameRig>(RigOptions{.data_dir = data_.path()});
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
    std::unique_ptr<GameRig> run_;
};

}  // namespace dalvo::test
