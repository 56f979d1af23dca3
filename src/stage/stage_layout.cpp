// The layout of the game window's stage, the wall around it, the message window
// frames and the sprite and face pictures loaded at start-up.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "engine/game.h"
#include "platform/gfx/font.h"
#include "stage/bitmap.h"
#include "stage/mesh.h"
#include "stage/stage.h"
#include "stage/stage_util.h"

namespace dalvo {

namespace {

using platform::Control;
using platform::Rop;
using platform::bit_blt;

constexpr int kTile = 64;
constexpr int kBackTop = 25;

// Draws the nine-part frame of a message window from the 48 x 48 frame picture;
// `sides` + 1 pieces of 16 pixels make each side edge.
void draw_frame(Control& frame, const Control& waku, int sides) {
    platform::Surface& dst = frame.image;
    const platform::Surface& src = waku.image;
    const int bottom = frame.height - 8;
    const int lower = frame.height - 32;
    frame.back_color = platform::kBlack;
    clear_surface(frame);
    for (int i = 0; i <= sides; ++i) {
        bit_blt(dst, 0, 32 + 16 * i, 8, 16, src, 0, 16, Rop::SrcCopy);
        bit_blt(dst, 592, 32 + 16 * i, 8, 16, src, 40, 16, Rop::SrcCopy);
    }
    for (int i = 1; i <= 35; ++i) {
        bit_blt(dst, 16 * i, 0, 16, 8, src, 16, 0, Rop::SrcCopy);
        bit_blt(dst, 16 * i, bottom, 16, 8, src, 16, 40, Rop::SrcCopy);
    }
    // The corners go over the ends of the edges.
    bit_blt(dst, 0, 0, 32, 32, src, 0, 0, Rop::SrcCopy);
    bit_blt(dst, 568, 0, 32, 32, src, 16, 0, Rop::SrcCopy);
    bit_blt(dst, 0, lower, 32, 32, src, 0, 16, Rop::SrcCopy);
    bit_blt(dst, 568, lower, 32, 32, src, 16, 16, Rop::SrcCopy);
    frame.refresh();
}

void set_message_font(Control& text_area) {
    platform::FontSpec font = text_area.font;
    font.name = "ＭＳ ゴシック";
    // The platform grants whole pixels; the size reads back as granted (11 -> 11.25).
    font.size = platform::granted_points(11);
    font.bold = true;
    text_area.font = font;
    text_area.image.font = text_area.font;
}

}  // namespace

void Stage_init(Game& game) {
    StageState& st = game.stage;
    MainForm& ui = game.ui;
    platform::Form& form = ui.form;

    st.Msg1_left = 20;
    st.Stage_height = 368;
    st.Msg2_left = 20;
    st.Msg2_top = 305;
    st.g_DollPosX = {50, 200, 350};
    const int S = st.Stage_height;

    set_message_font(*ui.TxtFrame1[1]);
    ui.TxtFrame1[1]->fore_color = platform::kWhite;
    ui.TxtFrame1[1]->image.fore_color = platform::kWhite;
    game.w.Line_height = static_cast<std::int16_t>(std::nearbyint(ui.TxtFrame1[1]->font->size + 5));
    set_message_font(*ui.TxtFrame2[1]);

    ui.Pic_Main->move(0, 0, 640, S);
    ui.Pic_Back->move(0, 0, 640, S);
    ui.Place_Back->move(0, 0, 640, 320);

    ui.TxtFrame1[0]->move(st.Msg1_left, S, 600, 104);
    ui.TxtFrame1[1]->move(11, 11, 578, 82);
    ui.Blinker->move(570, 74, 8, 8);
    ui.TxtFrame2[0]->move(st.Msg2_left, st.Msg2_top, 600, 167);
    ui.TxtFrame2[1]->move(11, 11, 578, 145);
    const int L = game.w.Line_height;
    for (int k = 0; k < 3; ++k) ui.SelBox[k]->move(0, (k + 1) * L + 2, 200, L);

    size_surface(*ui.Waku_Load, kTile, kTile);
    load_frame_picture(game, *ui.Waku_Load, "wall.bmp");

    platform::Surface& wall = form.image;
    if (wall.width() != form.client_width || wall.height() != form.client_height) {
        wall.resize(form.client_width, form.client_height);
    }
    const platform::Surface& tile = ui.Waku_Load->image;
    for (int i = 0; i <= 9; ++i) {
        for (int y : {0, 320, 384, 448}) bit_blt(wall, kTile * i, y, kTile, kTile, tile, 0, 0, Rop::SrcCopy);
    }
    for (int j = 1; j <= 7; ++j) {
        bit_blt(wall, 0, kTile * j, kTile, kTile, tile, 0, 0, Rop::SrcCopy);
        bit_blt(wall, 576, kTile * j, kTile, kTile, tile, 0, 0, Rop::SrcCopy);
    }
    wall.fill_rect(0, kBackTop, 640, 320, platform::kBlack);
    form.invalidate();

    // The first stage picture: the wall band around an empty background.
    ui.Place_Load->move(0, 0, 640, S);
    bit_blt(ui.Place_Load->image, 0, 0, 640, S, wall, 0, 0, Rop::SrcCopy);
    bit_blt(ui.Pic_Back->image, 0, 0, 640, S, ui.Place_Load->image, 0, 0, Rop::SrcCopy);
    bit_blt(ui.Pic_Main->image, 0, 0, 640, S, ui.Pic_Back->image, 0, 0, Rop::SrcCopy);
    ui.Pic_Main->refresh();

    size_surface(*ui.Mesh2, 32, 32);
    size_surface(*ui.Mesh1, kMeshStages * kMeshCell, 2 * kMeshCell);
    make_mesh1(ui.Mesh1->image);
}

void Waku_draw(Game& game) {
    MainForm& ui = game.ui;
    size_surface(*ui.Waku_Load, 48, 48);
    load_frame_picture(game, *ui.Waku_Load, "waku.bmp");
    draw_frame(*ui.TxtFrame1[0], *ui.Waku_Load, 2);
    draw_frame(*ui.TxtFrame2[0], *ui.Waku_Load, 6);
}

void Doll_preload(Game& game) {
    StageState& st = game.stage;
    MainForm& ui = game.ui;
    const int S = st.Stage_height;
    // Rows of each sprite picture above the stage: a sprite stands on the bottom edge of
    // the stage, so only its lowest rows show, and only the window's width of them.
    std::array<int, 4> cut{};
    for (int i = 0; i < 4; ++i) {
        Control& body = *ui.Doll_Body[i];
        const platform::Surface picture = read_picture(game, std::to_string(51 + i) + ".dat");
        cut[i] = std::max(picture.height() - S, 0);
        take_part(body, picture, 0, cut[i], kWindowWidth, S);
        body.refresh();
        const int w = body.width, h = body.height;
        st.g_DollW[i] = static_cast<std::int16_t>(w);
        st.g_DollH[i] = static_cast<std::int16_t>(h);
        st.g_DollY[i] = static_cast<std::int16_t>(S - h);
        ui.Doll_Mask[i]->back_color = platform::kWhite;
        for (Control* c : {ui.Doll_Mask[i], ui.Doll_Back[i], ui.Doll_Disp[i]}) c->move(0, 0, w, h);
        Make_mask(ui.Doll_Mask[i]->image, body.image, 0, 0, w, h);
    }
    // Where each face lies in its sprite picture.
    static constexpr std::array<std::array<int, 2>, 3> kFaceAt{{{80, 60}, {60, 60}, {70, 70}}};
    for (int j = 0; j < 3; ++j) {
        Control& strip = *ui.Face_Load[j];
        const platform::Surface picture = read_picture(game, std::to_string(61 + j) + ".dat");
        const int h = static_cast<int>(std::nearbyint(picture.height() / 3.0));
        // The strip holds three faces one below the other. Of each, only the rows that
        // land on the kept part of the sprite can show: at most a stage's height.
        const int top = kFaceAt[j][1] - cut[j];
        const int first = std::clamp(-top, 0, h);
        const int rows = std::min(h - first, S);
        const int w = std::min(picture.width(), kWindowWidth);
        if (first == 0 && rows == h) {
            take_part(strip, picture, 0, 0, w, picture.height());
        } else {
            size_surface(strip, w, 3 * rows);
            for (int k = 0; k < 3; ++k) {
                bit_blt(strip.image, 0, k * rows, w, rows, picture, 0, k * h + first, Rop::SrcCopy);
            }
        }
        strip.refresh();
        st.g_FaceRect[j] = FaceRect{static_cast<std::int16_t>(kFaceAt[j][0]), static_cast<std::int16_t>(top + first),
                                    static_cast<std::int16_t>(w), static_cast<std::int16_t>(rows)};
        ui.Face_Mask[j]->back_color = platform::kWhite;
        ui.Face_Mask[j]->move(0, 0, w, rows);
        ui.Face_Disp[j]->move(0, 0, w, rows);
    }
    st.g_FaceRect[3] = FaceRect{};
}

}  // namespace dalvo
