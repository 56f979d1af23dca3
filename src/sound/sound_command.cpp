// The script's sound command "a": one character picks an effect, a piece of music,
// the stop, or a fade of the master level.

#include "engine/game.h"
#include "sound/sound.h"

namespace dalvo {
namespace {

constexpr int kContinueAdvance = 2;

// Remembers the master level as the reference, then fades out from it.
void fade_out_step(Game& game) {
    if (game.g.g_MixerOk == 0) return;
    std::int32_t level = 0;
    if (Vol_get(game, level)) game.sound.g_VolSaved = level;
    if (level != 0) Vol_fadeout(game, game.sound.g_VolSaved);
}

void stop_music(Game& game) {
    SoundState& s = game.sound;
    fade_out_step(game);
    BGM_stop(game);
    s.g_BgmReq = 0;
    s.g_BgmNo = 0;
    set_bgm_loop(game, false);
    if (game.g.g_MixerOk != 0) Vol_set(game, s.g_VolSaved);
}

void start_music(Game& game, int k) {
    SoundState& s = game.sound;
    const std::string path = music_path(game, k);
    if (path.empty()) return;
    if (s.g_BgmReq != 0) {
        fade_out_step(game);
        game.p.host.yield();
        set_bgm_loop(game, false);
        BGM_stop(game);
    }
    BGM_play(game, path);
    // Recorded even when the piece failed to start: music is off then anyway.
    s.g_BgmReq = static_cast<std::int16_t>(k);
    s.g_BgmNo = static_cast<std::int16_t>(k);
    game.p.host.yield();
    if (game.g.g_MixerOk != 0) Vol_set(game, s.g_VolSaved);
}

}  // namespace

int Cmd_a(Game& game) {
    EngineState& g = game.g;
    if (g.g_BgmOn == 0 && g.g_SeOn == 0) return kContinueAdvance;
    if (g.g_Cmd.empty()) return kContinueAdvance;
    const auto last = static_cast<unsigned char>(g.g_Cmd.back());
    // A double-byte character names nothing.
    if (last >= 0x80) return kContinueAdvance;
    const int c = last - 48;

    if (c == 0) {
        // The stop works whatever the music switch holds.
        stop_music(game);
        return kContinueAdvance;
    }
    if (c < 10 && g.g_SeOn != 0) {
        SE_play(game, c);
        return kContinueAdvance;
    }
    int k = c - 16;
    if (k > 32) k -= 32;
    if (k < 1 || g.g_BgmOn == 0) return kContinueAdvance;

    if (k == 10) {
        fade_out_step(game);  // the piece goes on at the faded level
    } else if (k == 11) {
        if (g.g_MixerOk != 0 && game.sound.g_VolSaved != 0) Vol_fadein(game, game.sound.g_VolSaved);
    } else if (k <= 9) {
        start_music(game, k);
    }
    return kContinueAdvance;
}

}  // namespace dalvo
