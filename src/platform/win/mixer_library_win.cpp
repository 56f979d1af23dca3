// SDL2_mixer linked into dalvo.exe, playing MIDI through the system's own synthesizer.

#include "platform/sdl/mixer_library.h"

#include <SDL.h>

namespace dalvo::platform {

const MixerLibrary* mixer_library(std::string& /*error*/) {
    static const MixerLibrary library{
        &Mix_Init,     &Mix_Quit,      &Mix_SetSoundFonts, &Mix_OpenAudio,        &Mix_CloseAudio,
        &Mix_LoadMUSType_RW, &Mix_FreeMusic, &Mix_PlayMusic, &Mix_HaltMusic,     &Mix_LoadWAV_RW,
        &Mix_FreeChunk, &Mix_PlayChannelTimed, &Mix_Playing, &Mix_HaltChannel, &Mix_MasterVolume,
        &Mix_VolumeMusic,
    };
    return &library;
}

// The game's pieces were written for the synthesizer Windows plays MIDI through: the
// mixer's own Timidity stays a player's choice (SDL_NATIVE_MUSIC=0 and its patches).
// The music level reaches that synthesizer as its output volume.
MidiChoice choose_midi(const std::filesystem::path& asked) {
    MidiChoice choice;
    if (!asked.empty()) choice.warning = "a soundfont is not used here: the system's MIDI synthesizer plays the music";
    return choice;
}

void prepare_midi(const MixerLibrary& /*mix*/, const MidiChoice& /*choice*/) {
    SDL_SetHintWithPriority("SDL_NATIVE_MUSIC", "1", SDL_HINT_DEFAULT);
}

}  // namespace dalvo::platform
