// The SDL2_mixer sound devices. The audio device opens once per process and stays
// open: closing it costs more than a game's whole start.

#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/codec/audio_formats.h"
#include "platform/sdl/mixer_library.h"
#include "platform/audio/sequencer.h"
#include "platform/audio/traced_audio.h"

namespace dalvo::platform {
namespace {

constexpr int kMixMax = MIX_MAX_VOLUME;

class AudioSession {
public:
    static AudioSession& get() {
        static AudioSession session;
        return session;
    }
    AudioSession(const AudioSession&) = delete;
    AudioSession& operator=(const AudioSession&) = delete;
    ~AudioSession() {
        settle();
        if (mix_ == nullptr) return;
        if (open_) mix_->CloseAudio();
        mix_->Quit();
    }

    // Starts opening the device on a thread of its own: loading the mixer with its
    // synthesizer and opening the device take as long as the rest of the start.
    // An SDL thread, so that SDL's per-thread state for it goes when it ends; when none
    // can be made, the first sound opens the device itself.
    void open_in_background() {
        if (open_ || opener_ != nullptr) return;
        opener_ = SDL_CreateThread(
            [](void* session) {
                (void)static_cast<AudioSession*>(session)->open_device(false);
                return 0;
            },
            "dalvo-audio-open", this);
    }
    // Waits for an opening under way.
    void settle() {
        if (opener_ == nullptr) return;
        SDL_WaitThread(opener_, nullptr);
        opener_ = nullptr;
    }

    // Opens the device unless it is open; reopens it when SDL was shut down under it.
    bool ensure() {
        settle();
        if (open_ && SDL_WasInit(SDL_INIT_AUDIO) != 0) return true;
        return open_device(true);
    }
    // How MIDI pieces play (the soundfont the mixer reads when the first piece loads); set
    // before the device opens.
    void use_midi(MidiChoice choice) { midi_ = std::move(choice); }
    // The mixer's functions; only after ensure() said yes.
    const MixerLibrary& mix() const { return *mix_; }
    const std::string& error() const { return error_; }

private:
    AudioSession() = default;

    // The opening thread leaves SDL's own start to the program's thread.
    bool open_device(bool may_start_sdl_audio) {
        if (open_) {
            mix_->CloseAudio();
            open_ = false;
        }
        if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && (!may_start_sdl_audio || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)) {
            error_ = std::string("no audio: ") + SDL_GetError();
            return false;
        }
        if (mix_ == nullptr) {
            std::string why;
            mix_ = mixer_library(why);
            if (mix_ == nullptr) {
                error_ = "no audio: " + why;
                return false;
            }
        }
        prepare_midi(*mix_, midi_);
        mix_->Init(MIX_INIT_MID);
        if (mix_->OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
            error_ = std::string("no audio device: ") + SDL_GetError();
            return false;
        }
        open_ = true;
        error_.clear();
        return true;
    }

    SDL_Thread* opener_ = nullptr;
    const MixerLibrary* mix_ = nullptr;
    bool open_ = false;
    std::string error_;
    MidiChoice midi_;
};

struct MusicDeleter {
    void operator()(Mix_Music* m) const { AudioSession::get().mix().FreeMusic(m); }
};
struct ChunkDeleter {
    void operator()(Mix_Chunk* c) const { AudioSession::get().mix().FreeChunk(c); }
};

class SdlMusic final : public Sequencer {
public:
    SdlMusic(Clock& clock, bool midi_ready) : Sequencer(clock), midi_ready_(midi_ready) {}
    ~SdlMusic() override {
        on_close();
        AudioSession::get().settle();
    }

    void prepare() override { AudioSession::get().open_in_background(); }

protected:
    int on_open(std::span<const std::uint8_t> bytes) override {
        if (!usable()) return mci_error::kCannotLoadDriver;
        // The mixer may read from the bytes while it plays: they live as long as the piece.
        bytes_.assign(bytes.begin(), bytes.end());
        SDL_RWops* rw = SDL_RWFromConstMem(bytes_.data(), static_cast<int>(bytes_.size()));
        music_.reset(rw ? mix().LoadMUSType_RW(rw, MUS_MID, SDL_TRUE) : nullptr);
        if (!music_) {
            bytes_.clear();
            return mci_error::kInvalidFile;
        }
        return 0;
    }
    int on_play(std::int64_t /*pos_ms*/) override {
        // A MIDI piece cannot be sought: it always starts at its beginning.
        return mix().PlayMusic(music_.get(), 1) == 0 ? 0 : mci_error::kHardware;
    }
    void on_stop() override {
        if (music_) mix().HaltMusic();
    }
    void on_close() override {
        if (!music_) return;
        mix().HaltMusic();
        music_.reset();
        bytes_.clear();
    }

private:
    static const MixerLibrary& mix() { return AudioSession::get().mix(); }

    // Decided once, when the first piece opens: the device either plays or music is off.
    bool usable() {
        if (!checked_) {
            checked_ = true;
            AudioSession& session = AudioSession::get();
            device_ok_ = session.ensure();
            if (!device_ok_ && midi_ready_) std::fprintf(stderr, "dalvo: %s; music is off\n", session.error().c_str());
        }
        return device_ok_ && midi_ready_;
    }

    bool midi_ready_;
    bool checked_ = false;
    bool device_ok_ = false;
    std::vector<std::uint8_t> bytes_;
    std::unique_ptr<Mix_Music, MusicDeleter> music_;
};

class SdlWave final : public WavePlayer {
public:
    explicit SdlWave(Clock& clock) : clock_(clock) {}
    bool play_sync(std::span<const std::uint8_t> wave) override {
        const std::int64_t ms = wave_duration_ms(wave);
        AudioSession& session = AudioSession::get();
        if (ms < 0 || !session.ensure()) return false;
        const MixerLibrary& mix = session.mix();
        SDL_RWops* rw = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
        std::unique_ptr<Mix_Chunk, ChunkDeleter> chunk(rw ? mix.LoadWAV_RW(rw, 1) : nullptr);
        if (!chunk) return false;
        const int channel = mix.PlayChannelTimed(-1, chunk.get(), 0, -1);
        if (channel < 0) return false;
        // Holds the caller until the sound has played, with room for the device's buffer.
        const std::uint32_t start = clock_.ticks();
        const auto bound = static_cast<std::uint32_t>(ms + 1000);
        while (mix.Playing(channel) != 0 && clock_.ticks() - start < bound) clock_.sleep(5);
        mix.HaltChannel(channel);
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
        const MixerLibrary& mix = AudioSession::get().mix();
        mix.MasterVolume(volume);
        mix.VolumeMusic(volume);
    }
};

}  // namespace

std::unique_ptr<MusicDevice> make_sdl_music_device(Clock& clock, Trace& trace, const std::filesystem::path& soundfont,
                                                   std::string& warning) {
    MidiChoice choice = choose_midi(soundfont);
    warning = std::move(choice.warning);
    const bool playable = choice.playable;
    AudioSession::get().use_midi(std::move(choice));
    return traced(std::make_unique<SdlMusic>(clock, playable), trace);
}

std::unique_ptr<WavePlayer> make_sdl_wave_player(Clock& clock, Trace& /*trace*/) {
    return std::make_unique<SdlWave>(clock);
}

std::unique_ptr<MasterLevel> make_sdl_master_level(Trace& trace) {
    return traced(std::make_unique<SdlLevel>(), trace);
}

}  // namespace dalvo::platform
