#include "platform/headless/null_audio.h"

#include "platform/codec/audio_formats.h"
#include "platform/audio/sequencer.h"
#include "platform/audio/traced_audio.h"

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


}  // namespace

std::unique_ptr<MusicDevice> make_headless_music_device(Clock& clock, Trace& trace) {
    return traced(std::make_unique<Sequencer>(clock), trace);
}

std::unique_ptr<WavePlayer> make_headless_wave_player(Clock& clock, Trace& /*trace*/) {
    return std::make_unique<NullWave>(clock);
}

std::unique_ptr<MasterLevel> make_headless_master_level(Trace& trace, std::uint32_t start_level) {
    return traced(std::make_unique<StoredMasterLevel>(start_level), trace);
}

}  // namespace dalvo::platform
