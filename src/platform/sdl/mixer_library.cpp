// Loading SDL2_mixer by name.

#include "platform/sdl/mixer_library.h"

#include <dlfcn.h>

#include <algorithm>
#include <iterator>
#include <mutex>

namespace dalvo::platform {
namespace {

// The runtime package's name first; the development link where only that is installed.
constexpr const char* kNames[] = {"libSDL2_mixer-2.0.so.0", "libSDL2_mixer.so"};

struct Loaded {
    MixerLibrary library{};
    bool ok = false;
    std::string error;
};

template <typename F>
bool find(void* handle, const char* name, F& out, std::string& error) {
    out = reinterpret_cast<F>(dlsym(handle, name));
    if (out == nullptr && error.empty()) error = std::string("SDL2_mixer has no ") + name;
    return out != nullptr;
}

Loaded load() {
    Loaded l;
    void* handle = nullptr;
    for (const char* name : kNames) {
        // Global, so that the synthesizer library it brings is seen by the program's own
        // settings hook (see the sound devices).
        handle = dlopen(name, RTLD_LAZY | RTLD_GLOBAL);
        if (handle != nullptr) break;
    }
    if (handle == nullptr) {
        const char* why = dlerror();
        l.error = std::string("cannot load SDL2_mixer (install the package libsdl2-mixer-2.0-0)") +
                  (why != nullptr ? std::string(": ") + why : std::string());
        return l;
    }
    MixerLibrary& m = l.library;
    std::string& e = l.error;
    const bool found[] = {
        find(handle, "Mix_Init", m.Init, e),
        find(handle, "Mix_Quit", m.Quit, e),
        find(handle, "Mix_SetSoundFonts", m.SetSoundFonts, e),
        find(handle, "Mix_OpenAudio", m.OpenAudio, e),
        find(handle, "Mix_CloseAudio", m.CloseAudio, e),
        find(handle, "Mix_LoadMUSType_RW", m.LoadMUSType_RW, e),
        find(handle, "Mix_FreeMusic", m.FreeMusic, e),
        find(handle, "Mix_PlayMusic", m.PlayMusic, e),
        find(handle, "Mix_HaltMusic", m.HaltMusic, e),
        find(handle, "Mix_LoadWAV_RW", m.LoadWAV_RW, e),
        find(handle, "Mix_FreeChunk", m.FreeChunk, e),
        find(handle, "Mix_PlayChannelTimed", m.PlayChannelTimed, e),
        find(handle, "Mix_Playing", m.Playing, e),
        find(handle, "Mix_HaltChannel", m.HaltChannel, e),
        find(handle, "Mix_MasterVolume", m.MasterVolume, e),
        find(handle, "Mix_VolumeMusic", m.VolumeMusic, e),
    };
    l.ok = std::all_of(std::begin(found), std::end(found), [](bool f) { return f; });
    return l;
}

}  // namespace

const MixerLibrary* mixer_library(std::string& error) {
    static std::once_flag once;
    static Loaded loaded;
    std::call_once(once, [] { loaded = load(); });
    if (!loaded.ok) {
        error = loaded.error;
        return nullptr;
    }
    return &loaded.library;
}

}  // namespace dalvo::platform
