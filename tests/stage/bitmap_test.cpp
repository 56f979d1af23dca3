// Colour-key masks, bottom-up pixel arrays and client sizes.

#include <gtest/gtest.h>

#include "stage/bitmap.h"

namespace dalvo {
namespace {

using platform::kBlack;
using platform::kWhite;
using platform::rgb;
using platform::Surface;

TEST(Bitmap, MaskIsWhiteOnlyWhereTheSourceIsExactlyBlack) {
    Surface sprite(4, 2, kBlack);
    sprite.set(1, 0, rgb(0, 0, 1));  // nearly black is still opaque
    sprite.set(2, 0, rgb(1, 0, 0));
    sprite.set(3, 1, kWhite);
    Surface mask(4, 2, rgb(50, 50, 50));
    Make_mask(mask, sprite, 0, 0, 4, 2);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(mask.get(x, 0), x == 0 || x == 3 ? kWhite : kBlack) << x;
    EXPECT_EQ(mask.get(3, 1), kBlack);

    // A strip from further down the source lands at (0, 0); the part of the
    // rectangle outside the source is opaque, the part outside the mask is dropped.
    Surface strip(3, 6, kWhite);
    strip.set(0, 4, kBlack);
    Surface face_mask(2, 3, rgb(50, 50, 50));
    Make_mask(face_mask, strip, 0, 4, 5, 5);
    EXPECT_EQ(face_mask.get(0, 0), kWhite);
    EXPECT_EQ(face_mask.get(0, 2), kBlack);  // source row 6 does not exist
}

TEST(Bitmap, PixelArrayIsBottomUpWithOneSpareEntry) {
    Surface s(640, 320, rgb(9, 9, 9));
    s.set(0, 319, rgb(0x11, 0x22, 0x33));
    s.set(0, 0, rgb(0x77, 0x88, 0x99));
    std::vector<std::uint32_t> px(5, 0xDEAD);
    ASSERT_EQ(Get_pixels(s, px), 204800);
    ASSERT_EQ(px.size(), 204801u);
    EXPECT_EQ(px[0], 0x00112233u);  // bytes blue, green, red, reserved
    EXPECT_EQ(px[319 * 640], 0x00778899u);
    EXPECT_EQ(px[204800], 0u);

    // Round trip through an edited array, as the colour filters do.
    for (auto& p : px) p ^= 0x00FFFFFF;
    Surface out(640, 320);
    struct Watch final : platform::RefreshListener {
        int refreshes = 0;
        void surface_refreshed() override { ++refreshes; }
    } watch;
    out.set_listener(&watch);
    ASSERT_EQ(Put_pixels(out, px), 0);
    EXPECT_EQ(watch.refreshes, 1);
    EXPECT_EQ(out.get(0, 319), rgb(0xEE, 0xDD, 0xCC));
    std::vector<std::uint32_t> back;
    Get_pixels(out, back);
    back.back() = px.back();  // the spare entry is never drawn
    EXPECT_TRUE(back == px);

    // Failed transfers report -1 and leave black for the filters to write back.
    Surface empty;
    px.assign(10, 7);
    EXPECT_EQ(Get_pixels(empty, px), -1);
    EXPECT_EQ(px, std::vector<std::uint32_t>{0});
    EXPECT_EQ(Put_pixels(empty, px), -1);
    EXPECT_EQ(Put_pixels(out, std::vector<std::uint32_t>(15, 0)), -1);
}

}  // namespace
}  // namespace dalvo
