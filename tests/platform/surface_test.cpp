// Block transfers, stretches and simple drawing on small surfaces, pixel by pixel.

#include <gtest/gtest.h>

#include "platform/gfx/surface.h"

namespace dalvo::platform {
namespace {

// A surface whose every pixel is different, so a misplaced copy shows.
Surface numbered(int w, int h, std::uint32_t salt) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.row(y)[x] = (salt * 0x10000u + static_cast<std::uint32_t>(y * 37 + x * 5 + 1)) & 0xFFFFFF;
    return s;
}

// The obvious transfer: each pixel on its own, copied, ANDed or XORed onto what is there,
// only where both ends lie inside their surfaces. The fast one must agree with it everywhere.
void reference_blt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
                   Rop rop) {
    const Surface from = src;  // reads before any write, for a surface onto itself
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int x = sx + i, y = sy + j, tx = dx + i, ty = dy + j;
            if (x < 0 || y < 0 || x >= from.width() || y >= from.height()) continue;
            if (tx < 0 || ty < 0 || tx >= dst.width() || ty >= dst.height()) continue;
            const Pixel s = from.row(y)[x];
            Pixel& d = dst.row(ty)[tx];
            d = rop == Rop::SrcCopy ? s : rop == Rop::SrcAnd ? (d & s) : (d ^ s);
        }
}

TEST(SurfaceBlt, AgreesWithThePixelByPixelTransferWhenClippedOrOntoItself) {
    const Surface src = numbered(7, 5, 1);
    const Surface base = numbered(9, 6, 2);
    for (Rop rop : {Rop::SrcCopy, Rop::SrcAnd, Rop::SrcInvert}) {
        for (int dx = -4; dx <= 10; dx += 2)
            for (int dy = -3; dy <= 7; dy += 2)
                for (int sx = -3; sx <= 6; sx += 3)
                    for (int sy = -2; sy <= 4; sy += 3)
                        for (int w : {0, 1, 4, 12})
                            for (int h : {1, 3, 9}) {
                                Surface fast = base, slow = base;
                                bit_blt(fast, dx, dy, w, h, src, sx, sy, rop);
                                reference_blt(slow, dx, dy, w, h, src, sx, sy, rop);
                                ASSERT_TRUE(fast == slow) << "dx " << dx << " dy " << dy << " sx " << sx
                                                          << " sy " << sy << " w " << w << " h " << h;
                            }
        for (int ox = -3; ox <= 3; ++ox)
            for (int oy = -3; oy <= 3; ++oy) {
                Surface fast = numbered(10, 8, 3), slow = fast;
                bit_blt(fast, 2 + ox, 2 + oy, 6, 5, fast, 2, 2, rop);
                reference_blt(slow, 2 + ox, 2 + oy, 6, 5, slow, 2, 2, rop);
                ASSERT_TRUE(fast == slow) << "onto itself, offset " << ox << "," << oy;
            }
    }
}

TEST(SurfaceStretch, SamplesTheNearestSourcePixel) {
    const Surface src = numbered(2, 2, 5);
    Surface big(4, 4);
    stretch_blt(big, 0, 0, 4, 4, src, 0, 0, 2, 2, Rop::SrcCopy);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(big.get(x, y), src.get(x / 2, y / 2)) << x << "," << y;
    const Surface fine = numbered(8, 6, 4);
    Surface half(4, 3);
    stretch_blt(half, 0, 0, 4, 3, fine, 0, 0, 8, 6, Rop::SrcCopy);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(half.row(y)[x], fine.row(2 * y + 1)[2 * x + 1]);

    // Partly outside the destination: the rest is clipped, the visible part unchanged.
    Surface clipped(3, 3, rgb(9, 9, 9));
    stretch_blt(clipped, -2, 1, 4, 4, src, 0, 0, 2, 2, Rop::SrcCopy);
    EXPECT_EQ(clipped.get(0, 0), rgb(9, 9, 9));
    EXPECT_EQ(clipped.get(1, 2), src.get(1, 0));
    EXPECT_EQ(clipped.get(2, 1), rgb(9, 9, 9));
}

TEST(SurfaceDrawing, FillsLinesAndResizesStayInside) {
    const Color blue = rgb(0, 0, 255);
    Surface s(5, 4, blue);
    s.fill_rect(-2, 2, 4, 9, kWhite);  // clipped to columns 0..1, rows 2..3
    s.draw_line(0, 0, 4, 0, kWhite);   // the end point is left out
    s.draw_line(-10, 1, 10, 1, kWhite);
    const char* expected[] = {"WWWW.", "WWWWW", "WW...", "WW..."};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(s.get(x, y), expected[y][x] == 'W' ? kWhite : blue) << x << "," << y;

    s.back_color = rgb(7, 7, 7);
    s.resize(6, 5);  // old pixels stay, new ones take the background colour
    EXPECT_EQ(s.get(1, 3), kWhite);
    EXPECT_EQ(s.get(5, 4), rgb(7, 7, 7));
    EXPECT_EQ(s.get(9, 9), kBlack);  // reads outside give black
    // A label sized to an empty text keeps its height and no pixel, then grows again.
    s.resize(0, 5);
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.height(), 5);
    s.resize(2, 5);
    EXPECT_EQ(s.get(1, 4), rgb(7, 7, 7));
}

}  // namespace
}  // namespace dalvo::platform
