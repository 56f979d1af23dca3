// The name entry: the "はじめ" button checks the two names, stores them, dissolves
// the black title into the first game screen and starts the script.

#include "daycycle/day_card.h"
#include "daycycle/title.h"
#include "engine/game.h"
#include "engine/interpreter.h"
#include "platform/codec/text_codec.h"
#include "platform/pacing.h"
#include "sound/sound.h"

namespace dalvo {

namespace {

using platform::Rop;
using platform::bit_blt;

constexpr int kNameMaxChars = 5;
constexpr int kSeStart = 2;

// The first game screen as it will show once the title is gone: the wall of the
// window, the stage and the empty message window.
void compose_first_screen(Game& game) {
    MainForm& ui = game.ui;
    const StageState& st = game.stage;
    platform::Surface& back = ui.Form_Back->image;
    ui.Form_Back->move(0, 0, 640, 480);
    bit_blt(back, 0, 0, 640, 480, ui.form.image, 0, 0, Rop::SrcCopy);
    bit_blt(back, 0, 0, 640, st.Stage_height, ui.Pic_Main->image, 0, 0, Rop::SrcCopy);
    bit_blt(back, st.Msg1_left, st.Stage_height, 600, 104, ui.TxtFrame1[0]->image, 0, 0, Rop::SrcCopy);
    ui.Form_Back->refresh();
}

}  // namespace

void New_game_record(Game& game) {
    // The story reads as a half-day that begins just before its first record, so that
    // a save made before the first "g1" goes on at the start of the story.
    Write_day_start_record(game, game.g.g_ScriptPos - 1);
}

bool Name_acceptable(const std::string& name) {
    const int chars = platform::char_count(name);
    if (chars < 1 || chars > kNameMaxChars) return false;
    // "&" would read as a name marker; a comma or a double quote would split the
    // name's line of a save file.
    if (name.find_first_of("&,\"") != std::string::npos) return false;
    return platform::utf8_to_sjis(name).has_value();
}

void Name_ent_btn_click(Game& game) {
    MainForm& ui = game.ui;
    EngineState& g = game.g;
    platform::Host& host = game.p.host;
    // A refused name leaves the box open with what was typed, without a word.
    if (!Name_acceptable(ui.Text1->text) || !Name_acceptable(ui.Text2->text)) return;
    g.g_Names[1] = ui.Text1->text;
    g.g_Names[2] = ui.Text2->text;
    New_game_record(game);
    {
        const TitleBusy busy(game);
        if (g.g_SeOn != kFalse) SE_play(game, kSeStart);
        compose_first_screen(game);
        platform::yield_then_sleep(host, 50);
        ui.Name_Ent->visible = false;
        ui.Name_Ent->refresh();
        Title_dissolve(game, ui.Form_Back->image);
        platform::yield_then_sleep(host, 500);
        ui.Title->visible = false;
        ui.Title->refresh();
        host.yield();
        Title_menus(game, true);
        Ime_set(game, false);
    }
    Run_script(game);
}

}  // namespace dalvo
