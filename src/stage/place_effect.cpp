// The stage's transition engine: every transition copies `Pic_Back` into `Pic_Main`
// with equal coordinates on both sides until the two are the same picture.

#include "engine/game.h"
#include "stage/color_filter.h"
#include "stage/stage.h"
#include "stage/stage_util.h"

namespace dalvo {

namespace {

using platform::Rop;
using platform::Surface;

constexpr int kWidth = 640;

struct Stage {
    Game& game;
    Surface& main;
    const Surface& back;
    int S;

    explicit Stage(Game& g)
        : game(g), main(g.ui.Pic_Main->image), back(g.ui.Pic_Back->image), S(g.stage.Stage_height) {}

    void copy(int x, int y, int w, int h) { platform::bit_blt(main, x, y, w, h, back, x, y, Rop::SrcCopy); }
    void refresh() { game.ui.Pic_Main->refresh(); }
};

// 1-pixel columns, one in every 50-pixel band per frame; unpaced.
void dither_in(Stage& st) {
    for (int i = 0; i <= 49; ++i) {
        for (int x = 0; x <= kWidth; x += 50) st.copy(x + i, 0, 1, st.S);
        st.refresh();
    }
}

// Two sweeps of 2-pixel columns from both sides; unpaced. The loop runs on past the
// middle: the late strips fall outside the stage.
void vertical_blinds(Stage& st) {
    for (int i = 0; i <= st.S; i += 2) {
        st.copy(2 * i, 0, 2, st.S);
        st.copy(638 - 2 * i, 0, 2, st.S);
        st.refresh();
    }
}

// Two interleaved sweeps of 2-pixel rows, from the top and from the bottom; unpaced.
void horizontal_blinds(Stage& st) {
    const int m = st.S / 2;
    for (int i = 0; i <= m; i += 2) {
        st.copy(0, 2 * i, kWidth, 2);
        st.copy(0, st.S - 2 - 2 * i, kWidth, 2);
        st.refresh();
    }
}

// A left-to-right wipe whose edge is graded over 16 cells of 15 pixels.
void soft_wipe(Stage& st) {
    for (int i = 0; i <= kWidth; i += 15) {
        st.game.frame.start();
        for (int j = 0; j <= 15; ++j) st.copy(i + 15 * j, 0, 15 - j, st.S);
        st.refresh();
        st.game.frame.end(50);
    }
}

// Squares growing on a 20-pixel grid until they tile the stage.
void growing_squares(Stage& st) {
    for (int s = 2; s <= 20; s += 2) {
        st.game.frame.start();
        for (int y = 0; y <= st.S; y += 20) {
            for (int x = 0; x <= kWidth; x += 20) st.copy(x, y, s, s);
        }
        st.refresh();
        st.game.frame.end(40);
    }
}

// A 2 x 2 checkerboard in two halves, the second no sooner than 300 ms after the start.
void checkerboard(Stage& st) {
    st.game.frame.start();
    for (int y = 0; y <= st.S - 2; y += 4) {
        for (int x = 0; x <= 638; x += 4) {
            st.copy(x, y, 2, 2);
            st.copy(x + 2, y + 2, 2, 2);
        }
    }
    st.refresh();
    st.game.frame.sleep_until(300);
    st.game.p.host.yield();
    for (int y = 0; y <= st.S; y += 4) {
        for (int x = 2; x <= 638; x += 4) {
            st.copy(x, y, 2, 2);
            st.copy(x - 2, y - 2, 2, 2);
        }
    }
    st.refresh();
    st.game.p.host.yield();
}

// Nine stages of the mesh pattern, then the new picture in full.
void mesh_dissolve(Stage& st) {
    MainForm& ui = st.game.ui;
    size_surface(*ui.Mesh2, 32, 32);
    Surface& tile = ui.Mesh2->image;
    const Surface& mesh = ui.Mesh1->image;
    for (int k = 0; k <= 8; ++k) {
        st.game.frame.start();
        for (int x = 0; x <= 608; x += 32) {
            for (int y = 0; y <= st.S - 32; y += 32) {
                platform::bit_blt(tile, 0, 0, 32, 32, st.back, x, y, Rop::SrcCopy);
                platform::bit_blt(tile, 0, 0, 32, 32, mesh, 32 * k, 32, Rop::SrcAnd);
                platform::bit_blt(st.main, x, y, 32, 32, mesh, 32 * k, 0, Rop::SrcAnd);
                platform::bit_blt(st.main, x, y, 32, 32, tile, 0, 0, Rop::SrcInvert);
            }
        }
        st.refresh();
        st.game.frame.end(100);
    }
    st.copy(0, 0, kWidth, st.S);
    st.refresh();
}

void cut(Stage& st) {
    st.copy(0, 0, kWidth, st.S);
    st.refresh();
}

void run_effect(Game& game, const std::string& code) {
    if (const auto plan = filter_plan(code)) {
        Filter_run(game, *plan);
        return;
    }
    Stage st(game);
    if (code == "DI") return dither_in(st);
    if (code == "VB") return vertical_blinds(st);
    if (code == "HB") return horizontal_blinds(st);
    if (code == "HC") return soft_wipe(st);
    if (code == "BC") return growing_squares(st);
    if (code == "IC") return checkerboard(st);
    if (code == "MS") return mesh_dissolve(st);
    cut(st);
}

}  // namespace

void PlaceEffect(Game& game) {
    // A copy: a handler running inside a yield of the effect may set the next code.
    const std::string code = game.stage.g_Effect;
    game.p.trace.event("effect", {{"code", code}, {"phase", "start"}});
    run_effect(game, code);
    game.p.trace.event("effect", {{"code", code}, {"phase", "end"}});
}

}  // namespace dalvo
