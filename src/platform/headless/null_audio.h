#pragma once
// Sound devices without a sound card: the music device keeps the time a piece
// lasts on the clock, effects take their length of (virtual) time, the master
// level is a number. Every device returned is traced.

#include <cstdint>
#include <memory>

#include "platform/audio/devices.h"
#include "platform/os/clock.h"
#include "platform/automation/trace.h"

namespace dalvo::platform {

std::unique_ptr<MusicDevice> make_headless_music_device(Clock& clock, Trace& trace);
// Advances `clock` by the length of each wave played.
std::unique_ptr<WavePlayer> make_headless_wave_player(Clock& clock, Trace& trace);
// `start_level` is the level the mixer reads until the game sets one.
std::unique_ptr<MasterLevel> make_headless_master_level(Trace& trace, std::uint32_t start_level);

}  // namespace dalvo::platform
