// Character sprites: shown at once over the stage pixels under them, hidden with
// one of four effects that turn the sprite surface back into that stage picture.

#include <cmath>
#include <string>

#include "engine/game.h"
#include "engine/startup.h"
#include "stage/stage.h"
#include "stage/stage_util.h"

namespace dalvo {

namespace {

using platform::Rop;

void show_doll(Game& game, int s) {
    MainForm& ui = game.ui;
    StageState& st = game.stage;
    // A shown sprite is neither moved nor redrawn: to move it, hide it first.
    if (st.Doll_shown[s] != kFalse) return;
    st.Doll_shown[s] = kTrue;
    st.g_DollPosText = game.g.g_Text;
    if (st.g_DollPosText == "L") st.g_DollX[s] = st.g_DollPosX[0];
    if (st.g_DollPosText == "C") st.g_DollX[s] = st.g_DollPosX[1];
    if (st.g_DollPosText == "R") st.g_DollX[s] = st.g_DollPosX[2];

    const int x = st.g_DollX[s], y = st.g_DollY[s];
    const int w = st.g_DollW[s], h = st.g_DollH[s];
    platform::Control& disp = *ui.Doll_Disp[s];
    platform::Surface& back = ui.Doll_Back[s]->image;
    disp.move(x, y);
    // Only the stage goes under the sprite, never another sprite.
    platform::bit_blt(back, 0, 0, w, h, ui.Pic_Main->image, x, y, Rop::SrcCopy);
    platform::bit_blt(disp.image, 0, 0, w, h, back, 0, 0, Rop::SrcCopy);
    disp.refresh();
    platform::bit_blt(disp.image, 0, 0, w, h, ui.Doll_Mask[s]->image, 0, 0, Rop::SrcAnd);
    platform::bit_blt(disp.image, 0, 0, w, h, ui.Doll_Body[s]->image, 0, 0, Rop::SrcInvert);
    disp.refresh();
    disp.visible = true;
}

}  // namespace

// Hides slot `g_DollSlot` - 1 with the effect `g_Effect`; every copy brings back the
// stage pixels saved when the sprite was shown.
void DollEffect(Game& game) {
    const int s = game.g.g_DollSlot - 1;
    StageState& st = game.stage;
    platform::Control& disp = *game.ui.Doll_Disp[s];
    const platform::Surface& back = game.ui.Doll_Back[s]->image;
    const int width = st.g_DollW[s], height = st.g_DollH[s];
    const std::string& code = st.g_Effect;
    platform::Clock& clock = game.p.clock;
    platform::Host& host = game.p.host;
    auto copy = [&](int x, int y, int w, int h) {
        platform::bit_blt(disp.image, x, y, w, h, back, x, y, Rop::SrcCopy);
    };

    if (code == "DI") {
        for (int i = 0; i <= 19; ++i) {
            for (int x = 0; x <= width; x += 20) copy(x + i, 0, 1, height);
            host.yield();
            clock.sleep(10);
            disp.refresh();
        }
    } else if (code == "VB") {
        // The right-hand sweep lands on the columns the left-hand one skips.
        const int m = static_cast<int>(std::nearbyint(width / 2.0)) + 1;
        for (int i = 0; i <= m; i += 2) {
            game.frame.start();
            copy(2 * i, 0, 2, height);
            copy(width - 2 * i - 2 * (m % 2), 0, 2, height);
            disp.refresh();
            game.frame.end(10);
        }
    } else if (code == "HB") {
        const int m = static_cast<int>(std::nearbyint(height / 2.0));
        for (int i = 0; i <= m; i += 2) {
            game.frame.start();
            copy(0, 2 * i, width, 2);
            copy(0, height - 2 - 2 * i, width, 2);
            disp.refresh();
            game.frame.end(10);
        }
    } else if (code == "IC") {
        game.frame.start();
        for (int y = 0; y <= height - 2; y += 4) {
            for (int x = 0; x <= width - 2; x += 4) {
                copy(x, y, 2, 2);
                copy(x + 2, y + 2, 2, 2);
            }
        }
        disp.refresh();
        game.frame.sleep_until(300);
        host.yield();
        for (int y = 0; y <= height; y += 4) {
            for (int x = 2; x <= width - 2; x += 4) {
                copy(x, y, 2, 2);
                copy(x - 2, y - 2, 2, 2);
            }
        }
        host.yield();
        disp.refresh();
    }
    disp.visible = false;
    disp.refresh();
}

int Doll_change(Game& game) {
    const int slot = game.g.g_DollSlot;
    if (slot < 1 || slot > 4) {
        record_fault(game, "キャラクタの番号が 1～4 ではありません「" + std::to_string(slot) + "」");
    }
    const int s = slot - 1;
    if (game.g.g_DollNo != 0) {
        show_doll(game, s);
    } else {
        // The whole text names the hide effect, not only its first two characters.
        game.stage.g_Effect = game.g.g_Text;
        DollEffect(game);
        game.stage.Doll_shown[s] = kFalse;
    }
    return 2;
}

}  // namespace dalvo
