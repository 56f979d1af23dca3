// The stage as start-up leaves it: surfaces, wall, frames, tables, mesh pattern.

#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "stage/mesh.h"
#include "stage/stage.h"
#include "stage/stage_util.h"
#include "support/stage_rig.h"

namespace dalvo::test {
namespace {

using platform::kBlack;

TEST(StageLayout, TablesFollowThePicturesAndTheWallFramesTheStage) {
    StageRig rig;
    MainForm& ui = rig.ui();
    StageState& st = rig.st();
    EXPECT_EQ(rig.game().w.Line_height, 16);  // 11 pt is granted as 11.25
    EXPECT_EQ(ui.SelBox[2]->top, 3 * 16 + 2);

    // Sprites stand on the bottom edge of the stage; slot 3 is 300 x 100.
    EXPECT_EQ(st.g_DollY[0], 168);
    EXPECT_EQ(st.g_DollY[3], 268);
    EXPECT_EQ(ui.Doll_Back[3]->image.height(), 100);
    // White where the sprite is transparent.
    EXPECT_EQ(ui.Doll_Mask[0]->image.get(199, 0), platform::kWhite);
    EXPECT_EQ(ui.Doll_Mask[0]->image.get(0, 0), kBlack);

    // Face heights: 249 / 3 = 83, 151 / 3 = 50.33 -> 50, 75 / 3 = 25.
    EXPECT_EQ(st.g_FaceRect[0].h, 83);
    EXPECT_EQ(st.g_FaceRect[1].h, 50);
    EXPECT_EQ(ui.Face_Disp[1]->image.height(), 50);

    // The wall frames a black background area on the window and the stage.
    const platform::Surface& wall = ui.form.image;
    EXPECT_EQ(wall.get(10, 5), wall_pixel(10, 5));
    EXPECT_EQ(wall.get(130, 24), wall_pixel(2, 24));
    EXPECT_EQ(wall.get(70, 25), kBlack);
    EXPECT_EQ(wall.get(70, 345), wall_pixel(6, 25));      // row 345 of the tile row at 320
    EXPECT_EQ(wall.get(3, 400), wall_pixel(3, 16));       // left column, tile row 6
    EXPECT_EQ(wall.get(100, 479), wall_pixel(36, 31));
    // The first stage picture is the window's top 368 rows, on both stage surfaces.
    for (int y = 0; y < 368; y += 7) {
        for (int x = 0; x < 640; x += 5) ASSERT_EQ(ui.Pic_Main->image.get(x, y), wall.get(x, y));
    }
    EXPECT_EQ(ui.Pic_Main->image, ui.Pic_Back->image);

    // The message windows are nine-part frames.
    const platform::Surface& low = ui.TxtFrame1[0]->image;
    const platform::Surface& tall = ui.TxtFrame2[0]->image;
    for (const platform::Surface* f : {&low, &tall}) {
        const int h = f->height();
        EXPECT_EQ(f->get(590, 3), waku_pixel(38, 3));           // upper right corner
        EXPECT_EQ(f->get(300, h - 1), waku_pixel(28, 47));      // bottom edge
        EXPECT_EQ(f->get(597, 40), waku_pixel(45, 24));         // right edge
        EXPECT_EQ(f->get(9, 50), kBlack);                       // inside the edges
    }
    // The tall window's lower corners start at row 135, over the last side piece.
    EXPECT_EQ(tall.get(3, 134), waku_pixel(3, 22));
    EXPECT_EQ(tall.get(3, 140), waku_pixel(3, 21));
}

// A picture larger than the window costs no more than the part of it that can show.
TEST(StageLayout, ControlsKeepOnlyThePartOfALargePictureThatCanShow) {
    StageRig rig;
    MainForm& ui = rig.ui();
    StageState& st = rig.st();
    // A sprite 700 x 460 stands on the stage's bottom edge: its top 92 rows and the
    // columns past the window never show, nor the top 32 rows of its faces (60 rows
    // down the picture, 83 rows each).
    rig.folder().write_bytes("51.dat", encode_bmp(700, 460, [](int x, int y) { return sprite_pixel(0, 700, 460, x, y); }));
    rig.folder().write_bytes("70.dat", encode_bmp(900, 700, [](int x, int y) { return background_pixel(0, x, y); }));
    ASSERT_EQ(rig.until_end([&] {
        Doll_preload(rig.game());
        load_surface(rig.game(), *ui.Place_Load, "70.dat");
    }), -1);

    const platform::Surface& body = ui.Doll_Body[0]->image;
    ASSERT_EQ(std::pair(body.width(), body.height()), std::pair(640, 368));
    EXPECT_EQ((std::array<int, 3>{st.g_DollY[0], st.g_DollH[0], ui.Doll_Disp[0]->image.height()}),
              (std::array{0, 368, 368}));
    for (int y = 0; y < 368; y += 9) {
        for (int x = 0; x < 640; x += 7) ASSERT_EQ(body.get(x, y), sprite_pixel(0, 700, 460, x, y + 92)) << x << "," << y;
    }
    // Each face keeps its lower 51 rows, at the same place on the screen.
    EXPECT_EQ((std::array<int, 2>{st.g_FaceRect[0].y, st.g_FaceRect[0].h}), (std::array{0, 51}));
    const platform::Surface& strip = ui.Face_Load[0]->image;
    ASSERT_EQ(strip.height(), 3 * 51);
    for (int f = 0; f < 3; ++f) {
        for (int y = 0; y < 51; y += 5) {
            for (int x = 0; x < 95; x += 6) ASSERT_EQ(strip.get(x, 51 * f + y), face_pixel(f, 95, 83, x, y + 32));
        }
    }
    // A background keeps the window's size.
    EXPECT_EQ(std::pair(ui.Place_Load->image.width(), ui.Place_Load->image.height()), std::pair(640, 480));
    EXPECT_EQ(ui.Place_Load->image.get(639, 479), background_pixel(0, 639, 479));
}

TEST(StageLayout, MeshStagesLetInTheirShareAndTheLowerHalfIsTheComplement) {
    platform::Surface mesh;
    make_mesh1(mesh);
    ASSERT_EQ(mesh.height(), 64);
    const int share[10] = {96, 208, 288, 416, 624, 720, 832, 928, 976, 1024};
    for (int k = 0; k < 10; ++k) {
        int fresh = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 32 * k; x < 32 * k + 32; ++x) {
                const platform::Color old_mask = mesh.get(x, y);
                const platform::Color new_mask = mesh.get(x, y + 32);
                ASSERT_TRUE(old_mask == kBlack || old_mask == platform::kWhite);
                ASSERT_EQ(old_mask ^ new_mask, platform::kWhite) << k << " " << x << " " << y;
                if (old_mask == kBlack) ++fresh;
            }
        }
        EXPECT_EQ(fresh, share[k]) << "stage " << k;
    }
}

}  // namespace
}  // namespace dalvo::test
