#include "platform/headless/null_audio.h"

#include "platform/audio_formats.h"
#include "platform/sequencer.h"
#include "platform/traced_audio.h"

namespace dalvo::platform {
namespace {

class NullWave final : public WavePlayer {
public:
    explicit NullWave(Clock& clock) : clock_(clock) {}
    bool play_sync(std::span<const std::uint8_t> wave) override {
        const std::int64_t ms = wave_duration_ms(wave);
        if (ms < 0) return false;
        clock_.sleep(static_cast<std::uint32_t>(ms));
        return true;
    }

private:
    Clock& clock_;
};

class NullLevel final : public MasterLevel {
public:
    explicit NullLevel(std::uint32_t level) : level_(level) {}
    bool open() override {
        open_ = true;
        return true;
    }
    void close() override { open_ = false; }
    // Reading needs no open handle: the state dump shows the level at any time.
    bool get(std::uint32_t& level) override {
        level = level_;
        return true;
    }
    bool set(std::uint32_t level) override {
        if (!open_) return false;
        level_ = level;
        return true;
    }

private:
    std::uint32_t level_;
    bool open_ = false;
};

}  // namespace

std::unique_ptr<MusicDevice> make_headless_music_device(Clock& clock, Trace& trace) {
    return traced(std::make_unique<Sequencer>(clock), trace);
}

std::unique_ptr<WavePlayer> make_headless_wave_player(Clock& clock, Trace& /*trace*/) {
    return std::make_unique<NullWave>(clock);
}

std::unique_ptr<MasterLevel> make_headless_master_level(Trace& trace, std::uint32_t start_level) {
    return traced(std::make_unique<NullLevel>(start_level), trace);
}

}  // namespace dalvo::platform
