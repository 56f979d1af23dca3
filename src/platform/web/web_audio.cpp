#include "platform/web/web_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <filesystem>

#include "platform/codec/audio_formats.h"
#include "platform/audio/sequencer.h"
#include "platform/audio/traced_audio.h"
#include "platform/web/web_page.h"

namespace dalvo::platform {
namespace {

constexpr int kMusicWaitMs = 5000;

// The device opens with the first sound and stays open.
bool audio_open() {
    static int state = 0;  // 0 not tried, 1 open, -1 failed
    if (state != 0) return state > 0;
    state = -1;
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "dalvo: no audio: %s\n", SDL_GetError());
        return false;
    }
    Mix_Init(MIX_INIT_OGG);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        std::fprintf(stderr, "dalvo: no audio device: %s\n", SDL_GetError());
        return false;
    }
    state = 1;
    return true;
}

struct MusicFree {
    void operator()(Mix_Music* m) const { Mix_FreeMusic(m); }
};
struct ChunkFree {
    void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
};

class WebMusic final : public Sequencer {
public:
    WebMusic(Clock& clock, std::string dir) : Sequencer(clock), dir_(std::move(dir)) {}
    ~WebMusic() override { on_close(); }

protected:
    int on_open(std::span<const std::uint8_t> bytes) override {
        if (!audio_open()) return mci_error::kCannotLoadDriver;
        const std::string file = rendered_piece(dir_, bytes);
        // The page loads the music after the game has started: a piece asked for
        // before it has come is fetched first and waited for a while.
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) page::want_file(file, kMusicWaitMs);
        music_.reset(Mix_LoadMUS(file.c_str()));
        // A piece the page was built without plays silently: its model still runs.
        if (!music_) std::fprintf(stderr, "dalvo: %s: %s\n", file.c_str(), Mix_GetError());
        return 0;
    }
    int on_play(std::int64_t /*pos_ms*/) override {
        if (music_ && Mix_PlayMusic(music_.get(), 1) != 0) return mci_error::kHardware;
        return 0;
    }
    void on_stop() override {
        if (music_) Mix_HaltMusic();
    }
    void on_close() override {
        if (!music_) return;
        Mix_HaltMusic();
        music_.reset();
    }

private:
    std::string dir_;
    std::unique_ptr<Mix_Music, MusicFree> music_;
};

class WebWave final : public WavePlayer {
public:
    explicit WebWave(Clock& clock) : clock_(clock) {}
    bool play_sync(std::span<const std::uint8_t> wave) override {
        const std::int64_t ms = wave_duration_ms(wave);
        if (ms < 0 || !audio_open()) return false;
        SDL_RWops* rw = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
        std::unique_ptr<Mix_Chunk, ChunkFree> chunk(rw ? Mix_LoadWAV_RW(rw, 1) : nullptr);
        if (!chunk) return false;
        const int channel = Mix_PlayChannelTimed(-1, chunk.get(), 0, -1);
        if (channel < 0) return false;
        const std::uint32_t start = clock_.ticks();
        const auto bound = static_cast<std::uint32_t>(ms + 1000);
        while (Mix_Playing(channel) != 0 && clock_.ticks() - start < bound) clock_.sleep(5);
        Mix_HaltChannel(channel);
        return true;
    }

private:
    Clock& clock_;
};

class WebLevel final : public StoredMasterLevel {
public:
    WebLevel() : StoredMasterLevel(65535) {}

private:
    bool reach() override { return audio_open(); }
    void apply(std::uint32_t level) override {
        const int volume = static_cast<int>((level * MIX_MAX_VOLUME + 32767) / 65535);
        Mix_MasterVolume(volume);
        Mix_VolumeMusic(volume);
    }
};

}  // namespace

std::string rendered_piece(const std::string& dir, std::span<const std::uint8_t> midi) {
    // FNV-1a, 64 bits.
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (const std::uint8_t b : midi) {
        h ^= b;
        h *= 0x100000001B3ULL;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.ogg", static_cast<unsigned long long>(h));
    return dir + "/" + name;
}

std::unique_ptr<MusicDevice> make_web_music_device(Clock& clock, Trace& trace, std::string music_dir) {
    return traced(std::make_unique<WebMusic>(clock, std::move(music_dir)), trace);
}

std::unique_ptr<WavePlayer> make_web_wave_player(Clock& clock) { return std::make_unique<WebWave>(clock); }

std::unique_ptr<MasterLevel> make_web_master_level(Trace& trace) {
    return traced(std::make_unique<WebLevel>(), trace);
}

}  // namespace dalvo::platform
