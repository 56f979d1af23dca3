// A whole scene as the player sees it, pinned by its screenshot.

#include <gtest/gtest.h>

#include "stage/stage.h"
#include "stage/stage_rig.h"
#include "support/picture_check.h"

namespace dalvo::test {
namespace {

TEST(Screenshot, TwoSpritesAndAFaceChangeOverTheStage) {
    StageRig rig;
    rig.game().w.Place_no = 1;
    rig.game().g.g_Text = "";
    Place_change(rig.game());
    rig.doll(2, 1, "C");
    rig.doll(1, 1, "L");
    rig.game().g.g_DollSlot = 1;
    rig.game().g.g_FaceNo = 2;
    ASSERT_EQ(Face_change(rig.game()), 0);
    expect_picture(rig.screen(), 0x8c71e5ecaedb9d82ull, "two_sprites_face", PictureCheck("stage"));
}

}  // namespace
}  // namespace dalvo::test
