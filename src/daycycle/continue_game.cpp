// Back into the day cycle from a loaded game: the state of the saved half-day's
// start, its music and background, the date card with the level display, then the
// script from the record after that half-day's "g1".

#include "daycycle/day_card.h"
#include "daycycle/daycycle.h"
#include "daycycle/level_display.h"
#include "engine/game.h"
#include "engine/interpreter.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "stage/stage_util.h"
#include "platform/pacing.h"

namespace dalvo {

namespace {

constexpr int kCardTop = 70;

void restore_day_start_record(Game& game) {
    EngineState& g = game.g;
    const std::array<std::string, 21>& f = g.g_Flags;
    g.g_Day = Flag_to_int16(f[0]);
    g.g_Names[1] = f[1];
    g.g_Names[2] = f[2];
    g.g_BgmOn = Flag_to_truth(f[3]);
    g.g_SeOn = Flag_to_truth(f[4]);
    g.g_MsgSpeed = Flag_to_int16(f[5]);
    // The record position is read as a 16-bit number like the others.
    g.g_ScriptPos = Flag_to_int16(f[6]);
    g.g_hat_eki = Flag_to_int16(f[7]);
    g.g_hat_umi = Flag_to_int16(f[8]);
    g.g_kae = Flag_to_int16(f[9]);
    g.g_chi = Flag_to_int16(f[10]);
    g.g_ben = Flag_to_int16(f[11]);
    g.g_kou_iku = Flag_to_int16(f[12]);
    g.g_kou_eki = Flag_to_int16(f[13]);
    g.g_kou_umi = Flag_to_int16(f[14]);
    g.g_kok = Flag_to_int16(f[15]);
    g.g_suu = Flag_to_int16(f[16]);
    g.g_eig = Flag_to_int16(f[17]);
    game.w.Place_no = Flag_to_int16(f[18]);
    g.g_hay = Flag_to_int16(f[19]);
    g.g_GraphHist = {static_cast<std::int16_t>(2 * g.g_kok), static_cast<std::int16_t>(2 * g.g_suu),
                     static_cast<std::int16_t>(2 * g.g_eig)};
}

void restart_music(Game& game) {
    SoundState& s = game.sound;
    s.g_BgmNo = 0;
    const std::int16_t n = Flag_to_int16(game.g.g_Flags[20]);
    // Both numbers are set so that the next music change stops this piece first.
    if ((n & game.g.g_BgmOn) == 0) return;
    s.g_BgmNo = n;
    s.g_BgmReq = n;
    const std::string path = music_path(game, n);
    if (!path.empty()) BGM_play(game, path);
}

void hide_sprites(Game& game) {
    for (int i = 0; i < 4; ++i) {
        game.ui.Doll_Disp[i]->visible = false;
        game.stage.Doll_shown[i] = kFalse;
    }
    // Not shown yet: the darkened stage is the first picture without them.
    game.g.g_DollSlot = 0;
    game.g.g_FaceNo = 0;
}

void load_background(Game& game) {
    MainForm& ui = game.ui;
    load_surface(game, *ui.Place_Load, std::to_string(game.w.Place_no + 70) + ".dat");
    ui.Place_Load->refresh();
    platform::bit_blt(ui.Pic_Back->image, 0, 25, 640, 320, ui.Place_Load->image, 0, 0,
                      platform::Rop::SrcCopy);
    ui.Pic_Back->refresh();
}

}  // namespace

void Continue_game(Game& game) {
    EngineState& g = game.g;
    MainForm& ui = game.ui;
    platform::Host& host = game.p.host;

    Set_file_menus(game, false);
    ui.Blinker->visible = false;
    ui.Blinker->refresh();
    ui.Clicker->set_enabled(false, game.p.clock.ticks());
    if (g.g_BgmOn != 0) {
        BGM_stop(game);
        set_bgm_loop(game, false);
    }

    restore_day_start_record(game);
    restart_music(game);
    hide_sprites(game);
    g.g_DateText = Date_text(g.g_Day);
    game.w.LineNo = -1;
    load_background(game);

    game.stage.g_Effect = "DK";
    PlaceEffect(game);
    game.w.LastSpeaker = 0;
    clear_surface(*ui.TxtFrame1[1]);
    ui.TxtFrame1[1]->refresh();

    Card_show_date(game, kCardTop);
    Card_slide(game);
    Level_load(game);
    platform::yield_then_sleep(host, 2000);
    Level_unload(game);
    Card_hide(game);

    game.stage.g_Effect = "BC";
    PlaceEffect(game);
    Set_file_menus(game, true);
    ui.Blinker->visible = true;
    ui.Blinker->refresh();
    ui.Clicker->set_enabled(true, game.p.clock.ticks());
    g.g_WaitClick = kFalse;

    // From the title the script starts here; a load during play lets the waiting
    // interpreter go on from the restored position.
    if (g.g_Running == 0) {
        g.g_ScriptPos += 1;
        Run_script(game);
    }
}

}  // namespace dalvo
