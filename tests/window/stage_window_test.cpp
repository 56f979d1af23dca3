// The stage's effects in a real window (run under Xvfb by the window smoke test): every
// frame reaches the window as it does the headless screen, and the window shows the
// same pixels as the headless backend's screen.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
#include "stage/stage.h"
#include "support/stage_rig.h"

namespace dalvo::test {
namespace {

void load_stage(StageRig& rig, int n) {
    rig.ui().Place_Load->image.resize(640, 320);
    paint(rig.ui().Place_Load->image, [n](int x, int y) { return background_pixel(n, x, y); });
    paint(rig.ui().Pic_Back->image, [n](int x, int y) { return background_pixel(n + 1, x, y) ^ platform::kWhite; });
}

TEST(WindowInner, EffectsPresentEveryFrameAndTheWindowShowsTheScreen) {
    if (std::getenv("DALVO_WINDOW_INNER") == nullptr) GTEST_SKIP() << "runs inside Xvfb only";
    StageRig rig(/*window=*/true);
    auto& backend = dynamic_cast<platform::SdlBackend&>(rig.game().p.host.backend());
    // The same least counts as the headless tests of the transitions and the filters.
    const std::pair<const char*, std::size_t> cases[] = {{"DI", 50}, {"VB", 150}, {"HB", 90},
                                                         {"MI", 8},  {"SO", 6},   {"MO", 7}};
    int n = 0;
    for (const auto& [code, least] : cases) {
        load_stage(rig, n++ % 2);
        rig.st().g_Effect = code;
        const auto start = std::chrono::steady_clock::now();
        PlaceEffect(rig.game());
        const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        // A figure for the README, never checked.
        std::printf("%s: %zu presents in %.0f ms\n", code, rig.presents_during(code).size(), ms);
        EXPECT_GE(rig.presents_during(code).size(), least) << code;
        platform::Surface shown;
        ASSERT_TRUE(backend.read_client(rig.ui().form, shown));
        EXPECT_TRUE(shown == rig.screen()) << code;  // read first: a frame left unpresented shows here
    }

    // One small damaged rectangle (the blinking mark) presented, as a figure.
    platform::Control& mark = *rig.ui().Blinker;
    rig.ui().TxtFrame1[0]->visible = true;
    rig.ui().TxtFrame1[1]->visible = true;
    mark.filled = true;
    mark.fill_color = platform::kWhite;
    rig.game().p.host.present();
    const std::size_t presents = rig.events("present").size();
    const int rounds = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        mark.visible = !mark.visible;
        mark.refresh();
    }
    const auto us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(rig.events("present").size() - presents, static_cast<std::size_t>(rounds));
    std::printf("one damaged-rectangle present: %.0f us\n", us / rounds);
}

}  // namespace
}  // namespace dalvo::test
