#pragma once
// Sound in the browser: SDL2_mixer linked in, effects as on the desktop, and each
// MIDI piece played from the OGG rendered from it when the page was built (the
// sequencer's model of the piece, its length and commands, is the desktop's).

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/audio/devices.h"
#include "platform/os/clock.h"
#include "platform/automation/trace.h"

namespace dalvo::platform {

// Where the rendered OGG of a piece lies: `dir`/<hash of the MIDI bytes>.ogg. The
// page build names the files with the same hash (scripts/web-music.py).
std::string rendered_piece(const std::string& dir, std::span<const std::uint8_t> midi);

std::unique_ptr<MusicDevice> make_web_music_device(Clock& clock, Trace& trace, std::string music_dir);
std::unique_ptr<WavePlayer> make_web_wave_player(Clock& clock);
std::unique_ptr<MasterLevel> make_web_master_level(Trace& trace);

}  // namespace dalvo::platform
