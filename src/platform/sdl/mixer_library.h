#pragma once
// SDL2_mixer, loaded when the sound devices first need it rather than with the program:
// it brings the synthesizer and a dozen codec libraries, which cost every start
// (headless runs included) a third of its time though no sound plays before the story.

#include <SDL_mixer.h>

#include <filesystem>
#include <string>

namespace dalvo::platform {

struct MixerLibrary {
    decltype(&Mix_Init) Init;
    decltype(&Mix_Quit) Quit;
    decltype(&Mix_SetSoundFonts) SetSoundFonts;
    decltype(&Mix_OpenAudio) OpenAudio;
    decltype(&Mix_CloseAudio) CloseAudio;
    decltype(&Mix_LoadMUSType_RW) LoadMUSType_RW;
    decltype(&Mix_FreeMusic) FreeMusic;
    decltype(&Mix_PlayMusic) PlayMusic;
    decltype(&Mix_HaltMusic) HaltMusic;
    decltype(&Mix_LoadWAV_RW) LoadWAV_RW;
    decltype(&Mix_FreeChunk) FreeChunk;
    decltype(&Mix_PlayChannelTimed) PlayChannelTimed;
    decltype(&Mix_Playing) Playing;
    decltype(&Mix_HaltChannel) HaltChannel;
    decltype(&Mix_MasterVolume) MasterVolume;
    decltype(&Mix_VolumeMusic) VolumeMusic;
};

// The library, loaded on the first call and kept for the life of the process; nullptr
// with `error` set when it or one of its functions cannot be found. Safe from any thread.
const MixerLibrary* mixer_library(std::string& error);

// How MIDI pieces will play: through `soundfont` (empty where the system's own MIDI player
// needs none); `playable` false when nothing can play them, with `warning` saying why.
struct MidiChoice {
    std::filesystem::path soundfont;
    std::string warning;
    bool playable = true;
};
// `asked` is the player's soundfont (--soundfont, DALVO_SOUNDFONT; may be empty).
MidiChoice choose_midi(const std::filesystem::path& asked);
// Readies the mixer's MIDI player before the device opens.
void prepare_midi(const MixerLibrary& mix, const MidiChoice& choice);

}  // namespace dalvo::platform
