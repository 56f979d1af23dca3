// The full ending: the last page fades out, the ending music starts, six staff cards
// assemble beside three pictures on a timeline counted from the music's start, and
// the two final pictures chosen by `g_hap` close it.

#include <string>

#include "ending/ending_internal.h"
#include "ending/staff_roll.h"
#include "engine/game.h"
#include "platform/pacing.h"
#include "sound/sound.h"
#include "stage/bitmap.h"

namespace dalvo {

namespace {

using platform::Control;
using platform::Rop;

// Each step starts again from the page in Place_Load, darker by d.
void fade_last_page(Game& game) {
    MainForm& ui = game.ui;
    StageState& st = game.stage;
    game.p.trace.event("ending", {{"page_fade", "start"}});
    for (int d = 25; d <= 250; d += 25) {
        const std::uint32_t start = game.p.clock.ticks();
        st.Pixel_count = Get_pixels(ui.Place_Load->image, st.Pixels);
        for (std::int32_t i = 0; i <= st.Pixel_count; ++i) {
            std::uint32_t& e = st.Pixels[static_cast<std::size_t>(i)];
            std::uint32_t out = e & 0xFF000000u;
            for (int shift : {16, 8, 0}) {
                const int v = static_cast<int>((e >> shift) & 0xFF) - d;
                out |= static_cast<std::uint32_t>(v < 0 ? 0 : v) << shift;
            }
            e = out;
        }
        Put_pixels(ui.Pic_Main->image, st.Pixels);
        ui.Pic_Main->refresh();
        platform::wait_since(game.p.host, start, 500, 50);
    }
    game.p.trace.event("ending", {{"page_fade", "end"}});
}

// Fades the music of the game out, starts the ending's piece once; returns T0.
std::uint32_t change_music(Game& game) {
    EngineState& g = game.g;
    SoundState& s = game.sound;
    if (g.g_MixerOk != 0) {
        Vol_get(game, s.g_VolFirst);
        Vol_fadeout(game, s.g_VolFirst);
    }
    BGM_stop(game);
    Control& stage = *game.ui.Pic_Main;
    stage.visible = false;
    stage.move(0, 25, 640, 320);
    set_bgm_loop(game, false);
    if (g.g_MixerOk != 0) Vol_set(game, s.g_VolFirst);
    // The piece is played once: its number is not recorded, so the loop timer leaves it.
    BGM_play(game, music_path(game, 9));
    const std::uint32_t t0 = game.p.clock.ticks();
    game.p.trace.event("ending", {{"music", 9}});
    return t0;
}

// Loads a staff-roll picture and shrinks it into End_pic.
void picture_beside(Game& game, const std::string& file_name) {
    MainForm& ui = game.ui;
    load_ending_picture(game, file_name);
    platform::stretch_blt(ui.End_pic->image, 0, 0, 320, 160, ui.Place_Load->image, 0, 0, 640, 320,
                          Rop::SrcCopy);
    ui.End_pic->refresh();
}

// Cards 3 to 6: each stays four seconds, then darkens.
void later_card(Game& game, std::int16_t n) {
    Staff_disp(game, n);
    platform::sleep_then_yield(game.p.host, 1000, 4);
    game.p.host.yield();
    Staff_dark(game);
    game.p.clock.sleep(1000);
}

void staff_roll(Game& game, std::uint32_t t0) {
    MainForm& ui = game.ui;
    Control& picture = *ui.End_pic;
    Control& card = *ui.Staff_pic1;
    platform::Clock& clock = game.p.clock;

    picture.move(50, 150, 320, 160);
    picture_beside(game, "71.dat");
    card.move(380, 200, 260, 100);
    Staff_texture(game);

    platform::wait_since(game.p.host, t0, 6800, 50);
    picture.visible = true;
    card.visible = true;
    picture.refresh();
    card.refresh();
    End_grey(game);
    clock.sleep(1000);
    platform::wait_since(game.p.host, t0, 7000, 50);

    for (std::int16_t n = 1; n <= 2; ++n) {
        Staff_disp(game, n);
        platform::sleep_then_yield(game.p.host, 4000);
        clock.sleep(1000);
        platform::wait_since(game.p.host, t0, 17000, 50);
        Staff_dark(game);
    }

    End_dark(game);
    card.move(10, 200, 260, 100);
    picture.move(270, 150, 320, 160);
    platform::wait_since(game.p.host, t0, 24000, 50);

    picture_beside(game, "73.dat");
    clock.sleep(2000);
    End_grey(game);
    clock.sleep(1000);
    for (std::int16_t n = 3; n <= 4; ++n) later_card(game, n);

    End_dark(game);
    clock.sleep(1000);
    card.move(380, 200, 260, 100);
    picture.move(50, 150, 320, 160);

    picture_beside(game, "76.dat");
    clock.sleep(2000);
    End_grey(game);
    clock.sleep(1000);
    for (std::int16_t n = 5; n <= 6; ++n) later_card(game, n);
    End_dark(game);
    platform::sleep_then_yield(game.p.host, 1000, 3);
}

void final_pictures(Game& game) {
    MainForm& ui = game.ui;
    const int hap = game.g.g_hap;
    ui.Staff_pic1->visible = false;
    ui.End_pic->visible = false;
    Control& load = *ui.Place_Load;
    load.move(0, 0, 640, 320);
    load_ending_picture(game, std::to_string(77 + hap) + ".dat");
    // Over the copy of the last stage: its wall band frames the picture.
    platform::bit_blt(ui.Form_Back->image, 0, 25, 640, 320, load.image, 0, 0, Rop::SrcCopy);
    ui.form.image.back_color = ui.form.back_color;
    ui.form.image.clear();
    refresh_window(game);
    Ending_dissolve(game, EndingDissolve::FinalPicture1);
    platform::bit_blt(ui.Pic_Main->image, 0, 0, 640, 320, ui.form.image, 0, 25, Rop::SrcCopy);
    platform::bit_blt(load.image, 0, 0, 640, 320, ui.form.image, 0, 25, Rop::SrcCopy);
    platform::sleep_then_yield(game.p.host, 1000, 4);

    ui.Pic_Main->visible = true;
    load_ending_picture(game, std::to_string(90 + hap) + ".dat");
    Ending_dissolve(game, EndingDissolve::FinalPicture2);
    ui.Pic_Main->refresh();
}

}  // namespace

void Ending_full(Game& game) {
    fade_last_page(game);
    platform::sleep_then_yield(game.p.host, 1000, 3);
    const std::uint32_t t0 = change_music(game);
    staff_roll(game, t0);
    final_pictures(game);
}

}  // namespace dalvo
