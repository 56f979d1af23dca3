// The staff roll's cards and the grey and dark steps, pixel for pixel.

#include <gtest/gtest.h>

#include "ending/ending_rig.h"
#include "ending/staff_roll.h"

namespace dalvo::test {

namespace {

using platform::Color;
using platform::rgb;

// A staff roll ready to run: the table filled, the card and the picture placed.
struct StaffRig {
    EndingRig rig;
    MainForm& ui = rig.ui();
    StaffRig() {
        fill_staff_text(rig.game().ending);
        ui.Staff_pic1->move(380, 200, 260, 100);
        ui.End_pic->move(50, 150, 320, 160);
        Staff_texture(rig.game());
    }
};

// The gradient colour of a title row: row 0 is (190, 250, 250), each row below 3 darker.
Color gradient_row(int y) {
    const int k = 30 - y;
    return rgb(100 + 3 * k, 160 + 3 * k, 160 + 3 * k);
}

}  // namespace

TEST(StaffRoll, TitleIsGradientLettersOverAGreyShadowOnBlack) {
    StaffRig s;
    Staff_text(s.rig.game(), "  Graphics");
    const platform::Surface& title = s.ui.Texture[0]->image;
    ASSERT_EQ(title.width(), 260);
    ASSERT_EQ(title.height(), 30);
    int letters = 0, shadow = 0, right_of_text = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 260; ++x) {
            const Color c = title.get(x, y);
            if (c == gradient_row(y)) {
                ++letters;
            } else if (c == 0x808080) {
                ++shadow;
            } else {
                EXPECT_EQ(c, platform::kBlack) << "at " << x << ", " << y;
            }
            if (x >= 160 && c != platform::kBlack) ++right_of_text;
        }
    }
    EXPECT_GT(letters, 200);
    EXPECT_GT(shadow, 50);
    EXPECT_EQ(right_of_text, 0) << "a short title leaves black to its right";
    // The gradient itself is kept for the next title.
    Staff_text(s.rig.game(), "  Graphics");
    EXPECT_EQ(s.ui.Texture[0]->image, title);
}

TEST(StaffRoll, CardAssemblesIntoExactlyTheCardBuiltAndTakesFiftyOneFrames) {
    StaffRig s;
    Game& game = s.rig.game();
    for (std::int16_t n : {1, 2, 6}) {
        const std::uint32_t before = s.rig.now();
        Staff_disp(game, n);
        EXPECT_EQ(s.rig.now() - before, 51u * 40u) << "card " << n;
        expect_same_picture(s.ui.Staff_pic2->image, s.ui.Staff_pic1->image, "card" + std::to_string(n));
    }
    // The first card is raised to make room for the credit line.
    EXPECT_EQ(s.ui.Staff_pic1->top, 180);

    // Tiles start from the same places in every run of the program.
    StaffRig other;
    Staff_disp(other.rig.game(), 1);
    StaffRig again;
    Staff_disp(again.rig.game(), 1);
    EXPECT_EQ(other.rig.game().ending.TileX, again.rig.game().ending.TileX);
    EXPECT_EQ(other.rig.game().ending.TileY, again.rig.game().ending.TileY);
    EXPECT_EQ(other.rig.game().ending.TileX.size(), 53u * 21u);
}

TEST(StaffRoll, CardTilesFlyInFromScatteredPlaces) {
    StaffRig s;
    platform::Surface first_frame;
    bool taken = false;
    // Fires at the first yield: the first frame is drawn by then.
    platform::Timer& peek = s.rig.game().p.host.add_timer("peek", 1, [&] {
        if (!taken) first_frame = s.ui.Staff_pic1->image;
        taken = true;
    });
    peek.set_enabled(true, s.rig.now());
    Staff_disp(s.rig.game(), 3);
    peek.set_enabled(false, s.rig.now());
    ASSERT_TRUE(taken);
    EXPECT_FALSE(first_frame == s.ui.Staff_pic2->image);
}

TEST(StaffRoll, GreyStepsKeepGreyAndDarkStepsEndBlack) {
    StaffRig s;
    Game& game = s.rig.game();
    platform::Surface& picture = s.ui.End_pic->image;
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 320; ++x) picture.set(x, y, rgb(x % 256, (y * 3) % 256, 200));
    }
    picture.set(10, 10, rgb(77, 77, 77));
    picture.set(11, 10, rgb(255, 0, 0));

    const std::uint32_t before = s.rig.now();
    End_grey(game);
    EXPECT_EQ(s.rig.now() - before, 5u * 330u);
    EXPECT_EQ(picture.get(10, 10), rgb(77, 77, 77));
    // Red went half way to the mean of the others, and they towards it.
    const Color red = picture.get(11, 10);
    EXPECT_LT(platform::red_of(red), 255);
    EXPECT_GT(platform::green_of(red), 0);

    End_dark(game);
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 320; ++x) ASSERT_EQ(picture.get(x, y), platform::kBlack) << x << ", " << y;
    }

    Staff_disp(game, 4);
    Staff_dark(game);
    const platform::Surface black(260, 100, platform::kBlack);
    expect_same_picture(black, s.ui.Staff_pic1->image, "staff_dark");
}

}  // namespace dalvo::test
