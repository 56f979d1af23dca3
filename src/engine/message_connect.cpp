// Attaches the handlers of the message window, the stage and the choice labels.

#include "engine/game.h"
#include "engine/message.h"
#include "engine/message_internal.h"

namespace dalvo {

void Message_connect(Game& game) {
    MainForm& ui = game.ui;
    const auto stage_mouse = [&game](const platform::MouseEvent& e) { Stage_mouse_down(game, e); };
    const auto stage_key = [&game](int key) { Stage_key_down(game, key); };

    ui.Pic_Main->on_mouse_down = stage_mouse;
    ui.Pic_Main->on_key_down = stage_key;
    for (platform::Control* doll : ui.Doll_Disp) {
        doll->on_mouse_down = stage_mouse;
        doll->on_key_down = stage_key;
    }
    for (platform::Control* frame : ui.TxtFrame1) {
        frame->on_mouse_down = [&game](const platform::MouseEvent& e) { TxtFrame1_mouse_down(game, e); };
        frame->on_key_down = stage_key;
    }
    for (platform::Control* frame : ui.TxtFrame2) {
        frame->on_mouse_down = [&game](const platform::MouseEvent& e) { TxtFrame2_mouse_down(game, e); };
    }
    for (int k = 0; k < 3; ++k) {
        ui.SelTxt[k]->on_mouse_move = [&game, k](const platform::MouseEvent&) { SelTxt_mouse_move(game, k); };
        ui.SelTxt[k]->on_mouse_down = [&game, k](const platform::MouseEvent& e) {
            SelTxt_mouse_down(game, k, e);
        };
    }
    // The stage surfaces never hold the keyboard focus here, so their keys reach the
    // window itself; whatever handled the window's keys before still sees them.
    ui.form.on_key_down = [&game, before = ui.form.on_key_down](int key) {
        if (before) before(key);
        Stage_key_down(game, key);
    };
    Menu_connect(game);
    Controls_connect(game);
}

}  // namespace dalvo
