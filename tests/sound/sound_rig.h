#pragma once
// A headless game with its sound set up as the window load leaves it, on a data
// folder that holds a few music files; the trace is kept for the checks.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/game.h"
#include "platform/platform.h"
#include "support/fixture.h"
#include "support/trace_field.h"

namespace dalvo::test {

class SoundRig {
public:
    // `master_level`: what the master level reads until the game sets it.
    explicit SoundRig(std::uint32_t master_level = 65535);

    Game& game() { return *game_; }
    EngineState& g() { return game_->g; }
    SoundState& s() { return game_->sound; }
    std::uint32_t now() { return game_->p.clock.ticks(); }

    // Lets `ms` of virtual time pass with the window served every 10 ms.
    void idle(std::uint32_t ms);
    // Runs the sound command with the command field `cmd`.
    void cmd(const std::string& cmd);
    // The fade option switched on as the options dialog does.
    void mixer_on();

    // Trace lines of kind `ev` written since the last clear().
    std::vector<std::string> events(const std::string& ev) const;
    // The "cmd" of each music command, in order.
    std::vector<std::string> mci() const;
    // The value of each master level set, in order.
    std::vector<std::int64_t> levels() const;
    void clear() { trace_.clear(); }

private:
    FixtureFolder folder_;
    std::unique_ptr<platform::PlatformSet> set_;
    std::vector<std::string> trace_;
    std::unique_ptr<Game> game_;
};

}  // namespace dalvo::test
