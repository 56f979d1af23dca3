// Sound effects: the program's own waves, played to their end before the caller goes on.

#include "engine/game.h"
#include "sound/effect_waves.h"
#include "sound/sound.h"

namespace dalvo {

void SE_play(Game& game, int n) {
    const std::span<const std::uint8_t> wave = effect_wave(n);
    // Numbers without a wave of their own play nothing.
    if (wave.empty()) return;
    game.p.trace.event("wave", {{"n", n}});
    const bool played = game.p.wave.play_sync(wave);
    game.sound.g_MciErr = played ? 1 : 0;
    if (!played) {
        game.p.host.message_box("MCI(wave) error.", platform::MsgButtons::Ok);
        game.g.g_SeOn = kFalse;
    }
    game.p.host.yield();
}

}  // namespace dalvo
