// The SDL2_mixer sound devices. The audio device opens once per process and stays
// open: closing it costs more than a game's whole start.

#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <filesystem>
#include <vector>

#include "platform/audio_formats.h"
#include "platform/sequencer.h"
#include "platform/traced_audio.h"

// The mixer makes a synthesizer for every piece with the synthesizer library's default
// settings, which load the whole soundfont (6 MB of samples) although a piece uses a
// handful of instruments. The program exports its own settings constructor, which the
// mixer's call reaches first: it adds the library's own setting that loads only the
// samples of the instruments a piece selects. Nothing audible changes.
extern "C" void* new_fluid_settings() {
    using Make = void* (*)();
    using SetInt = int (*)(void*, const char*, int);
    static const auto make = reinterpret_cast<Make>(dlsym(RTLD_NEXT, "new_fluid_settings"));
    static const auto set_int = reinterpret_cast<SetInt>(dlsym(RTLD_NEXT, "fluid_settings_setint"));
    if (make == nullptr) return nullptr;
    void* settings = make();
    if (settings != nullptr && set_int != nullptr) set_int(settings, "synth.dynamic-sample-loading", 1);
    return settings;
}

namespace dalvo::platform {
namespace {

constexpr const char* kSoundFontPackage = "timgm6mb-soundfont";
constexpr const char* kSoundFontPaths[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/local/share/sounds/sf2/TimGM6mb.sf2",
};
constexpr int kMixMax = MIX_MAX_VOLUME;

std::string find_soundfont() {
    std::error_code ec;
    for (const char* path : kSoundFontPaths) {
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    return {};
}

class AudioSession {
public:
    static AudioSession& get() {
        static AudioSession session;
        return session;
    }
    AudioSession(const AudioSession&) = delete;
    AudioSession& operator=(const AudioSession&) = delete;
    ~AudioSession() {
        if (open_) Mix_CloseAudio();
        Mix_Quit();
    }

    // Opens the device unless it is open; reopens it when SDL was shut down under it.
    bool ensure() {
        if (open_ && SDL_WasInit(SDL_INIT_AUDIO) != 0) return true;
        if (open_) {
            Mix_CloseAudio();
            open_ = false;
        }
        if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            error_ = std::string("no audio: ") + SDL_GetError();
            return false;
        }
        soundfont_ = find_soundfont();
        // The mixer reads the soundfont when the first piece loads.
        if (!soundfont_.empty()) Mix_SetSoundFonts(soundfont_.c_str());
        Mix_Init(MIX_INIT_MID);
        if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
            error_ = std::string("no audio device: ") + Mix_GetError();
            return false;
        }
        open_ = true;
        error_.clear();
        return true;
    }
    const std::string& error() const { return error_; }
    const std::string& soundfont() const { return soundfont_; }

private:
    AudioSession() = default;
    bool open_ = false;
    std::string error_;
    std::string soundfont_;
};

struct MusicDeleter {
    void operator()(Mix_Music* m) const { Mix_FreeMusic(m); }
};
struct ChunkDeleter {
    void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
};

class SdlMusic final : public Sequencer {
public:
    SdlMusic(Clock& clock, bool usable) : Sequencer(clock), usable_(usable) {}
    ~SdlMusic() override { on_close(); }

protected:
    int on_open(std::span<const std::uint8_t> bytes) override {
        if (!usable_) return mci_error::kCannotLoadDriver;
        // The mixer may read from the bytes while it plays: they live as long as the piece.
        bytes_.assign(bytes.begin(), bytes.end());
        SDL_RWops* rw = SDL_RWFromConstMem(bytes_.data(), static_cast<int>(bytes_.size()));
        music_.reset(rw ? Mix_LoadMUSType_RW(rw, MUS_MID, SDL_TRUE) : nullptr);
        if (!music_) {
            bytes_.clear();
            return mci_error::kInvalidFile;
        }
        return 0;
    }
    int on_play(std::int64_t /*pos_ms*/) override {
        // A MIDI piece cannot be sought: it always starts at its beginning.
        return Mix_PlayMusic(music_.get(), 1) == 0 ? 0 : mci_error::kHardware;
    }
    void on_stop() override { Mix_HaltMusic(); }
    void on_close() override {
        if (!music_) return;
        Mix_HaltMusic();
        music_.reset();
        bytes_.clear();
    }

private:
    bool usable_;
    std::vector<std::uint8_t> bytes_;
    std::unique_ptr<Mix_Music, MusicDeleter> music_;
};

class SdlWave final : public WavePlayer {
public:
    explicit SdlWave(Clock& clock) : clock_(clock) {}
    bool play_sync(std::span<const std::uint8_t> wave) override {
        const std::int64_t ms = wave_duration_ms(wave);
        if (ms < 0 || !AudioSession::get().ensure()) return false;
        SDL_RWops* rw = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
        std::unique_ptr<Mix_Chunk, ChunkDeleter> chunk(rw ? Mix_LoadWAV_RW(rw, 1) : nullptr);
        if (!chunk) return false;
        const int channel = Mix_PlayChannel(-1, chunk.get(), 0);
        if (channel < 0) return false;
        // Holds the caller until the sound has played, with room for the device's buffer.
        const std::uint32_t start = clock_.ticks();
        const auto bound = static_cast<std::uint32_t>(ms + 1000);
        while (Mix_Playing(channel) != 0 && clock_.ticks() - start < bound) clock_.sleep(5);
        Mix_HaltChannel(channel);
        return true;
    }

private:
    Clock& clock_;
};

// 0..65535 onto the mixer's 0..128, for music and effects alike (the mixer's own
// master volume leaves music alone).
class SdlLevel final : public StoredMasterLevel {
public:
    SdlLevel() : StoredMasterLevel(65535) {}

private:
    bool reach() override { return AudioSession::get().ensure(); }
    void apply(std::uint32_t level) override {
        const int volume = static_cast<int>((level * kMixMax + 32767) / 65535);
        Mix_MasterVolume(volume);
        Mix_VolumeMusic(volume);
    }
};

}  // namespace

std::unique_ptr<MusicDevice> make_sdl_music_device(Clock& clock, Trace& trace, std::string& warning) {
    AudioSession& session = AudioSession::get();
    bool usable = session.ensure();
    if (!usable) {
        warning = session.error() + "; music is off";
    } else if (session.soundfont().empty()) {
        warning = std::string("the General MIDI soundfont TimGM6mb.sf2 was not found (install the package ") +
                  kSoundFontPackage + "); music is off";
        usable = false;
    }
    return traced(std::make_unique<SdlMusic>(clock, usable), trace);
}

std::unique_ptr<WavePlayer> make_sdl_wave_player(Clock& clock, Trace& /*trace*/) {
    return std::make_unique<SdlWave>(clock);
}

std::unique_ptr<MasterLevel> make_sdl_master_level(Trace& trace) {
    return traced(std::make_unique<SdlLevel>(), trace);
}

}  // namespace dalvo::platform
