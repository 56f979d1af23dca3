#pragma once
// One headless game for a test: the platform, the game on a data folder, the trace
// read back as JSON, the screen as the player saw it, the state dump, and input
// scheduled on the virtual clock. The rigs of the test folders add only their subject.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    bool window = false;                     // in a real window instead of headless
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

    // The trace events of kind `ev` (any when empty) that match `pattern` (see matches()).
    std::vector<Json> events(std::string_view ev = {}, std::string_view pattern = "{}") const;
    // The first event matching `pattern`; null, failing the test, when there is none.
    Json first(std::string_view pattern) const;
    // The "t" of each of events(ev, pattern).
    std::vector<std::uint32_t> times(std::string_view ev, std::string_view pattern = "{}") const;
    // The texts of the message boxes so far.
    std::vector<std::string> messages() const { return texts(events("msgbox"), "text"); }
    void clear_trace() { trace_.clear(); }
    std::function<void(const Json&)> on_trace;  // called with every event as it is written

    // The form as the player sees it: as last presented, after this turn's present; empty
    // before its first present (composed() gives it as composed now).
    platform::Surface screen() { return screen_of(ui().form); }
    platform::Surface screen_of(const platform::Form& form);
    Json dump() const;

    // Runs `action` inside the first yield at least `ms` from now (the game's own waits
    // yield). From then on, or from schedule(), a wait that nothing ends fails the test
    // after ten virtual minutes instead of hanging it.
    void at(std::uint32_t ms, std::function<void()> action);
    void schedule();
    void post_at(std::uint32_t ms, platform::InputEvent event);
    void click_at(std::uint32_t ms, int x, int y, platform::MouseButton b = platform::MouseButton::Left);
    std::function<void()> sample;  // called beside the scheduled actions, in every yield once time passed
    // Calls `look` at every yield, even one in which no time passed, until watch({}).
    void watch(std::function<void()> look);
    // run() with `look` watching it.
    int run_watched(std::function<void()> look) {
        watch(std::move(look));
        const int code = run();
        watch({});
        return code;
    }
    // Posts `event` and yields once, so that its handlers have run on return.
    void send(platform::InputEvent event);
    void press(const std::string& form, const std::string& control) { send(platform::PressControl{form, control}); }
    void key(int code) { send(platform::KeyDown{host().active_form()->name, code}); }  // to the active form
    void idle(std::uint32_t ms);  // `ms` of virtual time with the window served every 10 ms

private:
    class FailingLevel;

    std::optional<FixtureFolder> folder_;
    // The player's own folders (read text, settings, screenshots), unless the test set them.
    std::optional<ScratchFolder> player_folder_;
    std::optional<PlayerHome> player_home_;
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

inline std::uint32_t time_of(const Json& event) { return static_cast<std::uint32_t>(event["t"].num()); }

// One line of "3.dat": the twelve fields a record uses (the thirteenth stays empty).
struct Rec {
    std::string scene = {}, cmd = {}, target = {}, place = {}, doll = {}, face = {}, spare = {},
                speaker = {}, text = {}, arg1 = {}, arg2 = {}, arg3 = {};
};
// The lines of "3.dat" for `records`, with a heading line first; "39.dat" with one
// choice that leads from the first scene of `records` back to it.
std::string script_text(const std::vector<Rec>& records);
std::string first_scene_choice(const std::vector<Rec>& records);

// A test on one fixture folder with a script of its own.
class ScriptTest : public ::testing::Test {
protected:
    // Writes "3.dat" and "39.dat" and loads a new game on them: the exit code, or -1.
    int load(const std::string& script, const std::string& choices) {
        data_.write_scenario(script, choices);
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
