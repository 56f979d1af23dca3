// Font sizes, metrics of the game's fonts, and text drawn in exactly one colour.

#include <gtest/gtest.h>

#include <set>

#include "platform/gfx/font.h"

namespace dalvo::platform {
namespace {

FontSpec gothic(double size, bool bold = false) { return {.size = size, .bold = bold}; }

TEST(Font, GameFontsAreInstalledWithTheirMetricsInWholePixels) {
    EXPECT_EQ(points_to_pixels(11), 15);
    EXPECT_DOUBLE_EQ(granted_points(11), 11.25);
    EXPECT_EQ(points_to_pixels(9.75), 13);
    ASSERT_EQ(check_fonts(), "");
    EXPECT_EQ(text_width(gothic(11), "あいう"), 45);
    EXPECT_EQ(text_width(gothic(11), "ab"), 16);
    EXPECT_EQ(text_width(gothic(11, true), "あ"), 16);
    EXPECT_EQ(text_height(gothic(11)), 15);
    // The other names the game uses draw the same Japanese face; Arial is a Latin face.
    EXPECT_GT(text_width({.name = "Arial", .size = 24}, "- Fin -"), 0);
    EXPECT_EQ(text_width({.name = "MS Gothic", .size = 11}, "あいう"), 45);
}

TEST(Font, TextIsDrawnInExactlyTheGivenColourAndClipped) {
    const Color back = rgb(0, 0, 128), ink = rgb(255, 64, 1);
    Surface s(40, 20, back);
    s.font = gothic(11, true);
    s.fore_color = ink;
    s.draw_text(-6, 2, "あAあ");  // the first character partly outside
    std::set<Color> colours;
    int inked = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            colours.insert(s.get(x, y));
            inked += s.get(x, y) == ink;
        }
    EXPECT_EQ(colours, (std::set<Color>{back, ink}));
    EXPECT_GT(inked, 40);
    // A string is its characters placed at their bold advances of 16 and 9 pixels.
    Surface apart(40, 20, back);
    apart.font = s.font;
    apart.fore_color = ink;
    apart.draw_text(-6, 2, "あ");
    apart.draw_text(10, 2, "A");
    apart.draw_text(19, 2, "あ");
    EXPECT_TRUE(apart == s);
}

}  // namespace
}  // namespace dalvo::platform
