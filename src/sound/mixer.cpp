// The master output level as the mixer service gave it: a handle, one volume
// control, reads and writes of one level, and fades stepped every 100 ms.

#include "engine/game.h"
#include "sound/sound.h"
#include "platform/pacing.h"

namespace dalvo {
namespace {

// What the mixer answers for its first device and its master volume control.
constexpr std::uint32_t kMixerHandle = 1;
constexpr std::uint32_t kVolumeControlId = 1;
constexpr std::uint32_t kControlSize = 152;
constexpr std::uint32_t kStepMs = 100;

bool control_ready(const Game& game) {
    return game.sound.g_hMixer != 0 && game.sound.g_VolCtrl.dwControlID != 0;
}

// One setting of a fade: the level, then the rest of its 100 ms with the window served.
void fade_step(Game& game, std::int64_t v) {
    const std::uint32_t t = game.p.clock.ticks();
    Vol_set(game, static_cast<std::int32_t>(v));
    // Unsigned differences keep the deadline right across the tick counter's wrap.
    platform::yield_until(game.p.host, [&] { return game.p.clock.ticks() - t > kStepMs; }, 10);
}

}  // namespace

void Mixer_open(Game& game) {
    if (game.p.master.open()) {
        game.sound.g_hMixer = kMixerHandle;
        return;
    }
    game.p.host.message_box("Mixer open error.", platform::MsgButtons::Ok);
    game.g.g_BgmOn = kFalse;
    game.g.g_SeOn = kFalse;
}

void Mixer_close(Game& game) { game.p.master.close(); }

bool Vol_getctrl(Game& game) {
    // The program's own output is the one line there is; without a handle there is none.
    if (game.sound.g_hMixer == 0) {
        game.g.g_BgmOn = kFalse;
        game.g.g_SeOn = kFalse;
        return false;
    }
    game.sound.g_VolCtrl = MixerControl{kControlSize, kVolumeControlId};
    game.p.host.yield();
    return true;
}

bool Vol_get(Game& game, std::int32_t& level) {
    std::uint32_t read = 0;
    const bool ok = control_ready(game) && game.p.master.get(read);
    if (ok) level = static_cast<std::int32_t>(read);
    game.p.host.yield();
    return ok;
}

bool Vol_set(Game& game, std::int32_t level) {
    const bool ok = control_ready(game) && game.p.master.set(static_cast<std::uint32_t>(level));
    game.p.host.yield();
    return ok;
}

std::int32_t Vol_fadeout(Game& game, std::int32_t start) {
    const std::int32_t step = start / 8;
    std::int64_t v = start;
    // A level below 8 has no step to fall by: nothing is set.
    if (step != 0) {
        for (; v >= 0; v -= step) fade_step(game, v);
    }
    game.p.host.yield();
    return static_cast<std::int32_t>(v);
}

std::int32_t Vol_fadein(Game& game, std::int32_t target) {
    const std::int32_t step = target / 8;
    std::int64_t v = 0;
    if (step == 0) {
        // A target below 8 has no step to climb by: it is set once.
        if (target >= 0) fade_step(game, target);
        v = target;
    } else {
        for (; v <= target; v += step) fade_step(game, v);
    }
    game.p.host.yield();
    return static_cast<std::int32_t>(v);
}

}  // namespace dalvo
