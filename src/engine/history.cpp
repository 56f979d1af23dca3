// The nine-line history and the tall window that shows it.

#include "engine/game.h"
#include "engine/message.h"
#include "engine/message_internal.h"
#include "platform/gfx/font.h"

namespace dalvo {

void Log_append(Game& game, const std::string& line, platform::Color color) {
    WindowState& w = game.w;
    for (int i = 1; i < kLogSize; ++i) {
        w.LogText[i] = std::move(w.LogText[i + 1]);
        w.LogColor[i] = w.LogColor[i + 1];
    }
    w.LogText[kLogSize] = line;
    w.LogColor[kLogSize] = color;
}

void History_open(Game& game) {
    WindowState& w = game.w;
    MainForm& ui = game.ui;
    w.LogView = kTrue;
    platform::Control& area = *ui.TxtFrame2[1];
    area.image.fill_rect(0, 0, area.image.width(), area.image.height(), area.back_color);
    ui.TxtFrame1[0]->visible = false;
    ui.TxtFrame1[0]->refresh();
    // A look back ends skipping.
    if (game.g.g_MsgSpeed == 0) Skip_end(game);
    ui.form.set_menu_enabled("opt_menu", false);
    for (int k = 0; k < kLogSize; ++k) {
        platform::draw_text(area.image, 0, k * w.Line_height, w.LogText[k + 1], area.font,
                            w.LogColor[k + 1]);
    }
    area.refresh();
    ui.TxtFrame2[0]->visible = true;
    ui.TxtFrame2[0]->refresh();
}

void History_close(Game& game) {
    MainForm& ui = game.ui;
    ui.TxtFrame2[0]->visible = false;
    ui.TxtFrame2[0]->refresh();
    ui.TxtFrame1[0]->visible = true;
    ui.TxtFrame1[0]->refresh();
    game.w.LogView = kFalse;
    ui.form.set_menu_enabled("opt_menu", true);
}

void TxtFrame2_mouse_down(Game& game, const platform::MouseEvent& e) {
    if (e.button == platform::MouseButton::Right) History_close(game);
}

}  // namespace dalvo
