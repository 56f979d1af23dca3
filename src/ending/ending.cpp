// Script "e": the screen goes black, two pages of epilogue come in, then either
// "- Fin -" or the full ending with the staff roll, then half a minute of quiet.

#include "ending/ending.h"

#include <string>

#include "ending/ending_internal.h"
#include "ending/staff_roll.h"
#include "engine/field_reader.h"
#include "engine/game.h"
#include "platform/gfx/font.h"
#include "platform/codec/text_codec.h"
#include "platform/pacing.h"
#include "stage/stage_util.h"

namespace dalvo {

namespace {

using platform::Control;
using platform::Rop;

constexpr int kPageW = 450;
constexpr int kPageH = 80;
constexpr platform::Color kPink = platform::Color{0xEAD5FF};


// The text of the record `offset` places after the "e" record.
std::string epilogue_line(const Game& game, int offset) {
    const std::size_t index = static_cast<std::size_t>(game.g.g_ScriptPos + offset);
    if (index >= game.g.g_Script.size()) return {};
    return trim_blanks(game.g.g_Script[index].Text);
}

void prepare(Game& game) {
    MainForm& ui = game.ui;
    const std::uint32_t now = game.p.clock.ticks();
    ui.Clicker->set_enabled(false, now);
    ui.Blinker->visible = false;
    for (const char* name : {"prog_load", "prog_save", "speedup", "opt_menu", "vvrr"}) {
        ui.form.set_menu_enabled(name, false);
    }
    fill_staff_text(game.ending);

    ui.Form_Back->move(0, 0, 640, 480);
    clear_surface(*ui.TxtFrame1[1]);
    ui.TxtFrame1[1]->refresh();

    // The last stage becomes the window's own picture, kept in Form_Back for the close.
    platform::Surface& window = ui.form.image;
    platform::bit_blt(window, 0, 0, 640, game.stage.Stage_height, ui.Pic_Main->image, 0, 0, Rop::SrcCopy);
    platform::bit_blt(ui.Form_Back->image, 0, 0, 640, 480, window, 0, 0, Rop::SrcCopy);
    refresh_window(game);

    ui.Pic_Main->visible = false;
    ui.TxtFrame1[0]->visible = false;
    Control& load = *ui.Place_Load;
    load.move(load.left, load.top, load.width, 480);
    clear_surface(load);

    Ending_dissolve(game, EndingDissolve::ScreenToBlack);
    platform::yield_then_sleep(game.p.host, 1000);
}

void epilogue_pages(Game& game) {
    MainForm& ui = game.ui;
    Control& page = *ui.Pic_Main;
    Control& load = *ui.Place_Load;
    const bool full = game.g.g_hap != 0;

    clear_surface(page);
    page.visible = true;
    page.move(100, 150, kPageW, kPageH);
    load.move(0, 0, kPageW, kPageH);
    load.font = platform::FontSpec{"ＭＳ ゴシック", 16, true, true};
    load.fore_color = full ? kPink : platform::kWhite;
    const int hold = full ? 6 : 4;

    for (int p = 0; p < 2; ++p) {
        clear_surface(load);
        for (int line = 0; line < 2; ++line) {
            const std::string text = epilogue_line(game, 2 * p + line + 1);
            // Every character counts 20 pixels wide, whatever its own width.
            const int x = (kPageW - 20 * platform::char_count(text)) / 2;
            platform::draw_text(load.image, x, 40 * line, text, load.font, load.fore_color);
        }
        Ending_dissolve(game, EndingDissolve::PageIn);
        page.refresh();
        game.p.trace.event("ending", {{"page", p + 1}});
        platform::sleep_then_yield(game.p.host, 1000, hold + 1);
    }
    platform::yield_then_sleep(game.p.host, 1000, 2);
}

void plain_ending(Game& game) {
    MainForm& ui = game.ui;
    Control& page = *ui.Pic_Main;
    clear_surface(*ui.Place_Load);
    Ending_dissolve(game, EndingDissolve::PageOut);
    page.refresh();

    page.move(100, 150, 540, 330);
    page.visible = true;
    Control& fin = *ui.FrontMes[2];
    fin.caption = "- Fin -";
    fin.font = platform::FontSpec{"Arial", 24, false, false};
    fin.fore_color = platform::kWhite;
    fin.move(440, 130, platform::text_width(fin.font, fin.caption), platform::text_height(fin.font));
    fin.visible = true;
    game.p.trace.event("ending", {{"fin", "start"}});
    for (int c = 0; c <= 255; c += 5) {
        fin.fore_color = platform::rgb(c, c, c);
        fin.refresh();
        platform::sleep_then_yield(game.p.host, 50);
    }
    game.p.trace.event("ending", {{"fin", "end"}});
}

}  // namespace

void Ending_run(Game& game) {
    game.p.trace.event("ending", {{"start", static_cast<int>(game.g.g_hap)}});
    prepare(game);
    epilogue_pages(game);
    if (game.g.g_hap == 0) {
        plain_ending(game);
    } else {
        Ending_full(game);
    }
    game.p.trace.event("ending", {{"close", "start"}});
    platform::yield_then_sleep(game.p.host, 500, 61);
    game.p.trace.event("ending", {{"close", "end"}});
}

}  // namespace dalvo
