// The colour filters: per-pixel values, the step parameters, and runs on the stage.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "stage/color_filter.h"
#include "stage/stage.h"
#include "stage/stage_rig.h"

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
    EXPECT_EQ(filtered("DK", 0, 0), 0u);
    EXPECT_EQ(filtered("MC", 0, entry(10, 20, 31)), entry(20, 20, 20));
    EXPECT_EQ(filtered("MC", 0, entry(1, 1, 2)), entry(1, 1, 1));
    // The fifth sepia step is the sepia tone itself, clamped on both sides.
    EXPECT_EQ(filtered("SO", 4, entry(255, 255, 255)), entry(255, 255, 235));
    EXPECT_EQ(filtered("SO", 4, 0), entry(30, 0, 0));
    // The other sepia steps: red clamps above, nothing below.
    EXPECT_EQ(filtered("SO", 5, entry(255, 255, 255)), entry(255, 255, 241));
    // The reserved byte is kept.
    EXPECT_EQ(filtered("DK", 0, 0xAB000000u | entry(200, 5, 100)), 0xAB000000u | entry(100, 0, 0));
}

TEST(ColorFilter, StepCountsComeFromTheDoubleLoops) {
    EXPECT_EQ(filter_plan("SO")->steps[4], 0.5);
    EXPECT_EQ(filter_plan("SO")->steps.size(), 6u);
    EXPECT_EQ(filter_plan("MO")->steps.size(), 7u);
    const auto mi = filter_plan("MI");
    ASSERT_EQ(mi->steps.size(), 8u);
    EXPECT_GT(mi->steps[7], 0.0);
    EXPECT_FALSE(filter_plan("dk").has_value());
}

// The rules written out plainly, as the per-pixel expressions read.
std::uint32_t reference(FilterRule rule, double t, std::uint32_t e) {
    const int r = (e >> 16) & 0xFF, g = (e >> 8) & 0xFF, b = e & 0xFF;
    auto rnd = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    auto clamp = [](int v) { return std::min(255, std::max(0, v)); };
    int r2 = 0, g2 = 0, b2 = 0;
    if (rule == FilterRule::Darken) {
        r2 = std::max(0, r - 100), g2 = std::max(0, g - 100), b2 = std::max(0, b - 100);
    } else if (rule == FilterRule::Grey) {
        r2 = g2 = b2 = rnd((r + g + b) / 3.0);
    } else if (rule == FilterRule::Fade) {
        r2 = std::min(255, rnd((g * t + b * t) / 2 + (r - r * t)));
        g2 = std::min(255, rnd((r * t + b * t) / 2 + (g - g * t)));
        b2 = std::min(255, rnd((r * t + g * t) / 2 + (b - b * t)));
    } else if (t == 0.5) {
        const int y = rnd(g * 0.587 + r * 0.299 + b * 0.114);
        r2 = clamp(y + 30), g2 = clamp(y), b2 = clamp(y - 20);
    } else {
        r2 = clamp(rnd((b * t + g * t) / 1.5 + (r - r * t)));
        g2 = clamp(rnd((r * t + b * t) / 2 + (g - g * t)));
        b2 = clamp(rnd((r * t + g * t) / 2.2 + (b - b * t)));
    }
    return (e & 0xFF000000u) | entry(r2, g2, b2);
}

TEST(ColorFilter, FastRulesMatchThePlainExpressions) {
    std::mt19937 random(7);
    std::vector<std::uint32_t> px(20000);
    for (auto& p : px) p = random();
    // Values whose products land on halves.
    px[0] = entry(255, 255, 255);
    px[1] = entry(1, 3, 5);
    px[2] = entry(128, 64, 32);
    for (const char* code : {"DK", "MC", "SO", "MO", "MI"}) {
        const auto plan = filter_plan(code);
        for (double t : plan->steps) {
            std::vector<std::uint32_t> fast = px;
            filter_pixels(plan->rule, t, fast.data(), static_cast<std::int32_t>(fast.size()) - 1);
            for (std::size_t i = 0; i < px.size(); ++i) {
                ASSERT_EQ(fast[i], reference(plan->rule, t, px[i])) << code << " t=" << t << " i=" << i;
            }
        }
    }
}

// Runs `code` on the stage of a rig whose `Place_Load` holds background 1.
void load_and_run(StageRig& rig, const std::string& code) {
    platform::Surface& load = rig.ui().Place_Load->image;
    load.resize(640, 320);
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 640; ++x) load.set(x, y, background_pixel(1, x, y));
    }
    rig.st().g_Effect = code;
    PlaceEffect(rig.game());
}

TEST(ColorFilter, FiltersRecolourOnlyTheBackgroundAndStartFromTheLoadedPicture) {
    StageRig rig;
    const platform::Surface wall_band = rig.ui().Pic_Main->image;
    const platform::Surface next_stage = rig.ui().Pic_Back->image;

    const std::uint32_t start = rig.now();
    load_and_run(rig, "MI");
    EXPECT_EQ(rig.now(), start);  // unpaced
    const platform::Surface& stage = rig.ui().Pic_Main->image;
    for (int y = 0; y < 320; y += 3) {
        for (int x = 0; x < 640; x += 3) ASSERT_EQ(stage.get(x, y + 25), background_pixel(1, x, y));
    }
    EXPECT_EQ(stage.get(7, 24), wall_band.get(7, 24));
    EXPECT_EQ(stage.get(7, 345), wall_band.get(7, 345));
    EXPECT_TRUE(rig.ui().Pic_Back->image == next_stage);

    load_and_run(rig, "DK");
    const platform::Surface once = stage;
    load_and_run(rig, "DK");
    EXPECT_TRUE(stage == once);
    EXPECT_EQ(stage.get(200, 25), platform::rgb(137, 0, 101));  // (237, 11, 201) darkened
    EXPECT_EQ(rig.events("effect").size(), 6u);
}

}  // namespace
}  // namespace dalvo::test
