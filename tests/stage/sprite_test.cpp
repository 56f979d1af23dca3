// Character sprites and face changes as the player sees them, one scene pinned by its screenshot.

#include <gtest/gtest.h>

#include "stage/stage.h"
#include "support/stage_rig.h"
#include "support/picture_check.h"

namespace dalvo::test {
namespace {

using platform::Surface;

// Puts background 1 on the stage with a cut.
void set_background(StageRig& rig) {
    rig.game().w.Place_no = 1;
    rig.game().g.g_Text = "";
    Place_change(rig.game());
}

TEST(Sprite, OverlappingSpritesShowTheStageInTheirTransparentParts) {
    StageRig rig;
    set_background(rig);
    rig.doll(2, 1, "C");  // slot 1 at x 200
    rig.doll(1, 1, "L");  // slot 0 at x 50, in front of slot 1
    // The picture holds where slot 0's transparent top-right quarter shows the stage, not
    // slot 1, and where its opaque part covers slot 1; the face changed lies apart from both.
    rig.game().g.g_DollSlot = 1;
    rig.game().g.g_FaceNo = 2;
    ASSERT_EQ(Face_change(rig.game()), 0);
    expect_picture(rig.screen(), 0x8c71e5ecaedb9d82ull, "two_sprites_face", PictureCheck("stage"));
    // Slot 3 lies over all the others.
    rig.doll(4, 1, "L");
    EXPECT_EQ(rig.screen().get(60, 300), sprite_pixel(3, 300, 100, 10, 32));
    EXPECT_EQ(rig.st().Doll_shown[3], -1);
}

TEST(Sprite, AShownSpriteStaysAndUnknownPositionsKeepTheSlotsX) {
    StageRig rig;
    set_background(rig);
    rig.doll(2, 3, "x");  // never placed: x 0
    EXPECT_EQ(rig.ui().Doll_Disp[1]->left, 0);
    const Surface shown = rig.ui().Doll_Disp[1]->image;
    rig.doll(2, 1, "R");  // already shown: neither moved nor redrawn
    EXPECT_EQ(rig.st().g_DollPosText, "x");
    EXPECT_TRUE(rig.ui().Doll_Disp[1]->image == shown);
    rig.doll(2, 0, "");
    rig.doll(2, 1, "C");
    rig.doll(2, 0, "");
    rig.doll(2, 1, "c");
    EXPECT_EQ(rig.ui().Doll_Disp[1]->left, 200);

    // A 300-wide sprite at "R" reaches past the window's right edge and is clipped.
    rig.doll(4, 1, "R");
    EXPECT_EQ(rig.ui().Doll_Disp[3]->left, 350);
    EXPECT_EQ(rig.screen().get(639, 328), sprite_pixel(3, 300, 100, 289, 60));
}

TEST(Sprite, HideEffectsRestoreTheStageUnderTheSpriteInTheirTime) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"DI", 200}, {"VB", 51 * 10}, {"HB", 51 * 10}, {"IC", 300}, {"ZZ", 0}, {"", 0}};
    StageRig rig;
    set_background(rig);
    for (const auto& [code, ms] : cases) {
        rig.doll(1, 1, "C");
        ASSERT_TRUE(rig.ui().Doll_Disp[0]->visible);
        const std::uint32_t start = rig.now();
        rig.doll(1, 0, code);
        EXPECT_EQ(rig.now() - start, ms) << code;
        EXPECT_FALSE(rig.ui().Doll_Disp[0]->visible) << code;
        EXPECT_EQ(rig.st().Doll_shown[0], 0);
        if (ms > 0) {
            EXPECT_TRUE(rig.ui().Doll_Disp[0]->image == rig.ui().Doll_Back[0]->image) << code;
        }
    }
    EXPECT_TRUE(rig.events("effect").size() == 2u);  // only the background's cut
}

// What the face area should show after faces `faces` (0-based), in order, over `under`.
platform::Color composed(const std::vector<int>& faces, platform::Color under, int x, int y) {
    platform::Color c = under;
    for (int f : faces) {
        const platform::Color p = face_pixel(f, 95, 83, x, y);
        if (p != platform::kBlack) c = p;
    }
    return c;
}

TEST(Face, FaceChangesComposeOverTheShownFaceAndDissolveInNineStages) {
    StageRig rig;
    set_background(rig);
    rig.doll(1, 1, "L");
    const Surface before = rig.ui().Doll_Disp[0]->image;
    Game& game = rig.game();
    game.g.g_DollSlot = 1;
    const std::size_t presents = rig.events("present").size();
    const std::uint32_t start = rig.now();
    game.g.g_FaceNo = 1;
    EXPECT_EQ(Face_change(game), 0);
    // Nine stages of a little over 100 ms (the time is looked at every 50 ms).
    EXPECT_EQ(rig.now() - start, 9u * 150);
    EXPECT_EQ(rig.events("present").size() - presents, 10u);  // every stage reaches the screen
    game.g.g_FaceNo = 2;
    Face_change(game);

    const Surface& after = rig.ui().Doll_Disp[0]->image;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool in_face = x >= 80 && x < 175 && y >= 60 && y < 143;
            const platform::Color want =
                in_face ? composed({0, 1}, before.get(x, y), x - 80, y - 60) : before.get(x, y);
            ASSERT_EQ(after.get(x, y), want) << x << "," << y;
        }
    }
    // The sprite picture keeps its own face.
    EXPECT_EQ(rig.ui().Doll_Body[0]->image.get(85, 65), sprite_pixel(0, 200, 200, 85, 65));
}

TEST(Face, FaceChangesWithoutAFaceStripDrawNothing) {
    StageRig rig;
    rig.doll(4, 1, "L");
    const Surface before = rig.ui().Doll_Disp[3]->image;
    const std::uint32_t start = rig.now();
    for (auto [slot, face] : {std::pair{0, 1}, {4, 1}, {1, 0}, {2, 4}}) {
        rig.game().g.g_DollSlot = static_cast<std::uint8_t>(slot);
        rig.game().g.g_FaceNo = static_cast<std::uint8_t>(face);
        EXPECT_EQ(Face_change(rig.game()), 0);
    }
    EXPECT_EQ(rig.now(), start);
    EXPECT_TRUE(rig.ui().Doll_Disp[3]->image == before);
}

}  // namespace
}  // namespace dalvo::test
