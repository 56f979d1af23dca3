// The level display: the three subject bars, first as last shown, then as they are now.

#include "daycycle/level_display.h"

#include <cmath>

#include "daycycle/day_card.h"
#include "daycycle/daycycle.h"
#include "engine/game.h"
#include "stage/bitmap.h"
#include "stage/stage.h"
#include "platform/pacing.h"

namespace dalvo {

namespace {

constexpr int kBarCap = 100;
constexpr int kBarRed = 80;  // bars this long and longer are drawn red
constexpr double kTwipsPerPixel = 15.0;
constexpr int kWindowOffsetTwips = 2500;

std::array<std::int16_t, 3> current_lengths(const EngineState& g) {
    return {static_cast<std::int16_t>(2 * g.g_kok), static_cast<std::int16_t>(2 * g.g_suu),
            static_cast<std::int16_t>(2 * g.g_eig)};
}

// Clears the drawn bars and draws them from `g_GraphHist`, holding every length at
// 100 at most in `g_GraphHist` itself.
void draw_bars(Game& game) {
    LevelForm& level = game.level;
    platform::Surface& lv = level.lv->image;
    const platform::Surface& beam = level.beam->image;
    lv = level.board;
    for (int i = 0; i < 3; ++i) {
        std::int16_t& v = game.g.g_GraphHist[i];
        if (v > kBarCap) v = kBarCap;
        const int band = v < kBarRed ? kBeamBlue : kBeamRed;
        const int top = kBarTop + kBarStep * i;
        for (int k = 0; v > 0 && k <= v; ++k) {
            platform::bit_blt(lv, kBarLeft + kStripWidth * k, top, kStripWidth, kStripHeight, beam, 0, band,
                              platform::Rop::SrcCopy);
        }
    }
    level.lv->refresh();
}

void show_file_menus_and_mark(Game& game, bool on) {
    Set_file_menus(game, on);
    game.ui.Blinker->visible = on;
    game.ui.Blinker->refresh();
    game.ui.Clicker->set_enabled(on, game.p.clock.ticks());
}

}  // namespace

void Level_load(Game& game) {
    LevelForm& level = game.level;
    platform::Host& host = game.p.host;
    game.ui.form.enabled = false;
    level.lv->move(0, 0, 330, 177);
    Set_client_size(level.form, 330, 177);
    const int offset = static_cast<int>(std::lround(kWindowOffsetTwips / kTwipsPerPixel));
    level.form.left = game.ui.form.left + offset;
    level.form.top = game.ui.form.top + offset;

    draw_bars(game);
    host.show_form(level.form);
    platform::yield_then_sleep(host, 1000);

    game.g.g_GraphHist = current_lengths(game.g);
    draw_bars(game);
    host.yield();
}

void Level_unload(Game& game) {
    if (game.p.host.is_shown(game.level.form)) game.p.host.hide_form(game.level.form);
    game.ui.form.enabled = true;
}

void Graph_disp(Game& game) {
    platform::Host& host = game.p.host;
    if (game.g.g_GraphHist == current_lengths(game.g)) {
        platform::yield_then_sleep(host, 3000);
        return;
    }
    show_file_menus_and_mark(game, false);
    game.stage.g_Effect = "DK";
    PlaceEffect(game);
    Level_load(game);
    platform::yield_then_sleep(host, 2000);
    Level_unload(game);
    // No effect code: a cut back to the stage held in Pic_Back.
    game.stage.g_Effect.clear();
    PlaceEffect(game);
    show_file_menus_and_mark(game, true);
}

}  // namespace dalvo
