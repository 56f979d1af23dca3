// The staff roll's cards and the grey and dark steps, pixel for pixel (the titles on the
// cards are pinned by the full ending's screenshot).

#include <gtest/gtest.h>

#include "ending/ending_rig.h"
#include "ending/staff_roll.h"

namespace dalvo::test {

namespace {

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

}  // namespace

TEST(StaffRoll, CardAssemblesIntoExactlyTheCardBuiltAndTakesFiftyOneFrames) {
    StaffRig s;
    Game& game = s.rig.game();
    platform::Surface first_frame;
    // Fires at the first yield of card 1: its first frame is drawn by then.
    platform::Timer& peek = game.p.host.add_timer("peek", 1, [&] {
        if (first_frame.empty()) first_frame = s.ui.Staff_pic1->image;
    });
    peek.set_enabled(true, s.rig.now());
    for (std::int16_t n : {1, 2, 6}) {
        const std::uint32_t before = s.rig.now();
        Staff_disp(game, n);
        EXPECT_EQ(s.rig.now() - before, 51u * 40u) << "card " << n;
        expect_same_picture(s.ui.Staff_pic2->image, s.ui.Staff_pic1->image, "card" + std::to_string(n));
        // The tiles fly in from scattered places, not a fade of the whole card.
        EXPECT_TRUE(n != 1 || !(first_frame.empty() || first_frame == s.ui.Staff_pic1->image));
    }
    peek.set_enabled(false, s.rig.now());
    // The first card is raised to make room for the credit line.
    EXPECT_EQ(s.ui.Staff_pic1->top, 180);

    // Tiles start from the same places in every run of the program.
    StaffRig again;
    Staff_disp(again.rig.game(), 1);
    Staff_disp(again.rig.game(), 2);
    Staff_disp(again.rig.game(), 6);
    EXPECT_EQ(game.ending.TileX, again.rig.game().ending.TileX);
    EXPECT_EQ(game.ending.TileY, again.rig.game().ending.TileY);
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
    const platform::Color red = picture.get(11, 10);
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
