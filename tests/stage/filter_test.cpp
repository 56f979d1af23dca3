// The colour filters: per-pixel values, the step parameters, and runs on the stage.

#include <gtest/gtest.h>

#include "stage/color_filter.h"
#include "stage/stage.h"
#include "support/stage_rig.h"

namespace dalvo::test {
namespace {

constexpr std::uint32_t entry(int r, int g, int b) {
    return static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
}

std::uint32_t filtered(const std::string& code, std::size_t step, std::uint32_t px) {
    const auto plan = filter_plan(code);
    std::uint32_t one[1] = {px};
    filter_pixels(plan->rule, plan->steps.at(step), one, 0);
    return one[0];
}

TEST(ColorFilter, PixelRulesGiveTheDocumentedValues) {
    EXPECT_EQ(filtered("DK", 0, entry(120, 80, 30)), entry(20, 0, 0));
    EXPECT_EQ(filtered("MC", 0, entry(10, 20, 31)), entry(20, 20, 20));
    EXPECT_EQ(filtered("MC", 0, entry(1, 1, 2)), entry(1, 1, 1));
    // The fifth sepia step is the sepia tone itself, clamped on both sides.
    EXPECT_EQ(filtered("SO", 4, entry(255, 255, 255)), entry(255, 255, 235));
    EXPECT_EQ(filtered("SO", 4, 0), entry(30, 0, 0));
    // The other sepia steps: red clamps above, nothing below.
    EXPECT_EQ(filtered("SO", 5, entry(255, 255, 255)), entry(255, 255, 241));
    // The reserved byte is kept.
    EXPECT_EQ(filtered("DK", 0, 0xAB000000u | entry(200, 5, 100)), 0xAB000000u | entry(100, 0, 0));
    EXPECT_EQ(filter_plan("MO")->steps.size(), 7u);
    EXPECT_FALSE(filter_plan("dk").has_value());
}

// Runs `code` on the stage of a rig whose `Place_Load` holds background 1.
void load_and_run(StageRig& rig, const std::string& code) {
    platform::Surface& load = rig.ui().Place_Load->image;
    load.resize(640, 320);
    paint(load, [](int x, int y) { return background_pixel(1, x, y); });
    rig.st().g_Effect = code;
    PlaceEffect(rig.game());
}

TEST(ColorFilter, FiltersRecolourOnlyTheBackgroundFromTheLoadedPictureAndPresentEachStep) {
    StageRig rig;
    const platform::Surface wall_band = rig.ui().Pic_Main->image;

    const std::uint32_t start = rig.now();
    load_and_run(rig, "MI");
    EXPECT_EQ(rig.now(), start);  // unpaced
    const platform::Surface& stage = rig.ui().Pic_Main->image;
    for (int y = 0; y < 320; y += 3) {
        for (int x = 0; x < 640; x += 3) ASSERT_EQ(stage.get(x, y + 25), background_pixel(1, x, y));
    }
    EXPECT_EQ(stage.get(7, 24), wall_band.get(7, 24));

    load_and_run(rig, "DK");
    const platform::Surface once = stage;
    load_and_run(rig, "DK");
    EXPECT_TRUE(stage == once);
    EXPECT_EQ(stage.get(200, 25), platform::rgb(137, 0, 101));  // (237, 11, 201) darkened
    EXPECT_EQ(rig.events("effect").size(), 6u);

    // Each step of a filter reaches the screen while the filter runs.
    for (const auto& [code, steps] : {std::pair{"MI", 8u}, {"SO", 6u}, {"MO", 7u}, {"DK", 1u}}) {
        load_and_run(rig, code);
        EXPECT_GE(rig.presents_during(code).size(), steps) << code;
    }
}

}  // namespace
}  // namespace dalvo::test
