// The menu commands of the game window and the skip mode.

#include "daycycle/daycycle.h"
#include "dialogs/dialogs.h"
#include "engine/game.h"
#include "engine/message.h"
#include "engine/message_internal.h"
#include "engine/startup.h"
#include "saveload/saveload.h"

namespace dalvo {

namespace {

void set_speedup_caption(Game& game, const char* caption) { game.ui.form.set_menu_caption("speedup", caption); }

void prog_end(Game& game) {
    if (game.p.host.message_box("終了しますか？", platform::MsgButtons::YesNo) != platform::MsgAnswer::No) {
        Window_unload(game, 0);
    }
}

// Saving and loading happen only while the script waits for a click after a message.
void prog_save(Game& game) {
    if (game.g.g_WaitClick == kFalse) return;
    game.g.g_FileMode = 1;
    File_Window_open(game);
}

void prog_load(Game& game) {
    if (game.g.g_WaitClick == kFalse) return;
    game.g.g_FileMode = 2;
    File_Window_open(game);
    if (game.g.g_FileMode == 3) Continue_game(game);
}

// The handler returns only after the next advancing click, or at once when the
// dialog turns skipping on.
void opt_menu(Game& game) {
    Option_open(game);
    Wait_click(game);
}

}  // namespace

void Skip_end(Game& game) {
    game.g.g_MsgSpeed = 1;
    set_speedup_caption(game, kCaptionSkip);
}

void Speedup(Game& game) {
    EngineState& g = game.g;
    if (g.g_MsgSpeed != 0) {
        g.g_MsgSpeed = 0;
        g.g_WaitClick = kFalse;
        set_speedup_caption(game, kCaptionStop);
    } else {
        g.g_MsgSpeed = 1;
        g.g_WaitClick = kTrue;
        set_speedup_caption(game, kCaptionSkip);
    }
}

void Menu_connect(Game& game) {
    MainForm& ui = game.ui;
    ui.menu("prog_end").on_click = [&game] { prog_end(game); };
    ui.menu("prog_load").on_click = [&game] { prog_load(game); };
    ui.menu("prog_save").on_click = [&game] { prog_save(game); };
    ui.menu("opt_menu").on_click = [&game] { opt_menu(game); };
    ui.menu("speedup").on_click = [&game] { Speedup(game); };
    ui.menu("vvrr").on_click = [&game] { About_open(game); };
}

}  // namespace dalvo
