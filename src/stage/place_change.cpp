// A background change of a record: the old stage with its sprites burnt in, the new
// background behind the wall band, the transition, a fresh message page.

#include <string>

#include "engine/game.h"
#include "platform/codec/text_codec.h"
#include "stage/stage.h"
#include "stage/stage_util.h"

namespace dalvo {

int Place_change(Game& game) {
    MainForm& ui = game.ui;
    StageState& st = game.stage;

    // The transition starts from the stage as the player sees it, sprites included.
    for (int i = 0; i < 4; ++i) {
        platform::Control& disp = *ui.Doll_Disp[i];
        if (disp.visible) {
            platform::bit_blt(ui.Pic_Main->image, st.g_DollX[i], st.g_DollY[i], st.g_DollW[i],
                              st.g_DollH[i], disp.image, 0, 0, platform::Rop::SrcCopy);
            disp.visible = false;
            ui.Pic_Main->refresh();
        }
        st.Doll_shown[i] = kFalse;
    }

    const std::string file_name = std::to_string(game.w.Place_no + 70) + ".dat";

    ui.Clicker->set_enabled(false, game.p.clock.ticks());
    ui.Blinker->visible = false;
    ui.Blinker->refresh();

    load_surface(game, *ui.Place_Load, file_name);
    ui.Place_Load->refresh();
    game.p.host.yield();

    // The wall band of `Pic_Back` stays as the layout drew it.
    platform::bit_blt(ui.Pic_Back->image, 0, 25, 640, 320, ui.Place_Load->image, 0, 0,
                      platform::Rop::SrcCopy);
    ui.Pic_Back->refresh();

    st.g_Effect = platform::char_substr(game.g.g_Text, 0, 2);
    PlaceEffect(game);

    game.w.LineNo = -1;
    game.w.LastSpeaker = 0;
    clear_surface(*ui.TxtFrame1[1]);
    ui.TxtFrame1[1]->refresh();
    return 2;
}

}  // namespace dalvo
