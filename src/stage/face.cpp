// The face change: the new face composed over the face area as shown, then dissolved
// in through the mesh pattern, block by block, on the sprite surface only.

#include "engine/game.h"
#include "stage/bitmap.h"
#include "stage/stage.h"
#include "stage/stage_util.h"
#include "platform/pacing.h"

namespace dalvo {

namespace {

using platform::Rop;
using platform::bit_blt;

constexpr int kBlock = 10;

}  // namespace

int Face_change(Game& game) {
    const int slot = game.g.g_DollSlot;
    const int face = game.g.g_FaceNo;
    // Only the first three characters have face strips; `g_DollSlot` is 0 after a
    // background change until a sprite field names a slot again.
    if (slot < 1 || slot > 3 || face < 1 || face > 3) return 0;
    const int s = slot - 1;
    const FaceRect& r = game.stage.g_FaceRect[s];
    const int fx = r.x, fy = r.y, w = r.w, h = r.h;
    const int sy = h * (face - 1);
    MainForm& ui = game.ui;
    platform::Control& disp = *ui.Doll_Disp[s];
    platform::Control& new_face = *ui.Face_Disp[s];
    platform::Control& mask = *ui.Face_Mask[s];
    const platform::Surface& strip = ui.Face_Load[s]->image;
    platform::Surface& tile = ui.Mesh2->image;
    const platform::Surface& mesh = ui.Mesh1->image;

    // Over the face as shown, not over the sprite picture: a second change in a row
    // composes over the first one.
    clear_surface(new_face);
    bit_blt(new_face.image, 0, 0, w, h, disp.image, fx, fy, Rop::SrcCopy);
    clear_surface(mask);
    Make_mask(mask.image, strip, 0, sy, w, h);
    bit_blt(new_face.image, 0, 0, w, h, mask.image, 0, 0, Rop::SrcAnd);
    bit_blt(new_face.image, 0, 0, w, h, strip, 0, sy, Rop::SrcInvert);

    for (int k = 0; k <= 8; ++k) {
        game.frame.start();
        for (int x = 0; x <= w - kBlock; x += kBlock) {
            for (int y = 0; y <= h - kBlock; y += kBlock) {
                bit_blt(tile, 0, 0, kBlock, kBlock, new_face.image, x, y, Rop::SrcCopy);
                bit_blt(tile, 0, 0, kBlock, kBlock, mesh, 32 * k, 32, Rop::SrcAnd);
                bit_blt(disp.image, fx + x, fy + y, kBlock, kBlock, mesh, 32 * k, 0, Rop::SrcAnd);
                bit_blt(disp.image, fx + x, fy + y, kBlock, kBlock, tile, 0, 0, Rop::SrcInvert);
            }
        }
        disp.refresh();
        // A stage lasts a little over 100 ms: the time is looked at only every 50 ms.
        platform::yield_until(game.p.host, [&] { return game.frame.elapsed() > 100; }, 50);
    }
    // Also the border pixels the 10 x 10 blocks do not reach.
    bit_blt(disp.image, fx, fy, w, h, new_face.image, 0, 0, Rop::SrcCopy);
    disp.refresh();
    ui.Pic_Main->visible = true;
    return 0;
}

}  // namespace dalvo
