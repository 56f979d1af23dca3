#pragma once
// Sound devices over SDL2_mixer: MIDI music through FluidSynth with the GM
// soundfont, wave effects from memory, the program's master output level.
// The audio device is opened once per process: in the background once the music
// device is asked to prepare, else by the first sound; a sound waits for an opening
// under way.
// Every device returned is traced.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/audio/devices.h"
#include "platform/os/clock.h"
#include "platform/automation/trace.h"

namespace dalvo::platform {

// The music plays through `soundfont` when it is one, else through the system's own
// (see choose_soundfont). `warning` tells when the chosen one could not be used; when
// there is none, the device refuses to open any piece (the game then switches music off).
// A missing audio device is found when the first piece opens: it is refused the same way
// and the reason goes to standard error.
std::unique_ptr<MusicDevice> make_sdl_music_device(Clock& clock, Trace& trace, const std::filesystem::path& soundfont,
                                                   std::string& warning);
std::unique_ptr<WavePlayer> make_sdl_wave_player(Clock& clock, Trace& trace);
std::unique_ptr<MasterLevel> make_sdl_master_level(Trace& trace);

}  // namespace dalvo::platform
