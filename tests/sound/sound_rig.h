#pragma once
// A headless game with its sound set up as the window load leaves it, on a data
// folder that holds a few music files.

#include <cstdint>
#include <string>
#include <vector>

#include "support/game_rig.h"

namespace dalvo::test {

class SoundRig : public GameRig {
public:
    // `master_level`: what the master level reads until the game sets it.
    explicit SoundRig(std::uint32_t master_level = 65535);

    SoundState& s() { return game().sound; }
    // Runs the sound command with the command field `cmd`.
    void cmd(const std::string& cmd);
    // The fade option switched on as the options dialog does.
    void mixer_on();

    // The "cmd" of each music command, and the value of each master level set, in order.
    std::vector<std::string> mci() const { return texts(events("mci"), "cmd"); }
    std::vector<std::int64_t> levels() const { return numbers(events("level"), "value"); }
};

}  // namespace dalvo::test
