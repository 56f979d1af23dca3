// The stage's effects end to end on a headless game: one colour filter step, the
// mesh dissolve, the unpaced transitions and a sprite show.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/game.h"
#include "platform/platform.h"
#include "stage/color_filter.h"
#include "stage/mesh.h"
#include "stage/stage.h"

namespace {

using dalvo::Game;
using dalvo::platform::Surface;

void fill_pattern(Surface& s, std::uint32_t seed) {
    std::uint32_t v = seed;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            v = v * 1664525u + 1013904223u;
            s.row(y)[x] = v >> 8;
        }
    }
}

// A game whose stage surfaces are laid out and filled, without a data folder.
struct Bench {
    std::unique_ptr<dalvo::platform::PlatformSet> set = dalvo::platform::make_headless_platform({});
    std::unique_ptr<Game> game = std::make_unique<Game>(set->platform(), dalvo::GameOptions{});

    Bench() {
        dalvo::MainForm& ui = game->ui;
        dalvo::StageState& st = game->stage;
        st.Stage_height = 368;
        st.g_DollPosX = {50, 200, 350};
        ui.Pic_Main->move(0, 0, 640, 368);
        ui.Pic_Back->move(0, 0, 640, 368);
        ui.Place_Load->move(0, 0, 640, 320);
        ui.Place_Back->move(0, 0, 640, 320);
        ui.Mesh2->move(0, 0, 32, 32);
        ui.Mesh1->move(0, 0, 320, 64);
        dalvo::make_mesh1(ui.Mesh1->image);
        fill_pattern(ui.Pic_Main->image, 1);
        fill_pattern(ui.Pic_Back->image, 2);
        fill_pattern(ui.Place_Load->image, 3);
        st.g_DollW[0] = st.g_DollH[0] = 200;
        st.g_DollY[0] = 168;
        for (auto* c : {ui.Doll_Body[0], ui.Doll_Mask[0], ui.Doll_Back[0], ui.Doll_Disp[0]}) {
            c->move(0, 0, 200, 200);
        }
        fill_pattern(ui.Doll_Body[0]->image, 4);
        fill_pattern(ui.Doll_Mask[0]->image, 5);
    }

    void effect(const char* code) {
        game->stage.g_Effect = code;
        dalvo::PlaceEffect(*game);
    }
};

void filter_step(benchmark::State& state, dalvo::FilterRule rule, double t) {
    Bench b;
    const dalvo::FilterPlan plan{rule, {t}, false, false};
    for (auto _ : state) {
        dalvo::Filter_run(*b.game, plan);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 640 * 320);
}

void BM_FilterStepSepia(benchmark::State& state) { filter_step(state, dalvo::FilterRule::Sepia, 0.1); }
BENCHMARK(BM_FilterStepSepia)->Unit(benchmark::kMicrosecond);

void BM_FilterStepFadeOut(benchmark::State& state) { filter_step(state, dalvo::FilterRule::Fade, 0.1); }
BENCHMARK(BM_FilterStepFadeOut)->Unit(benchmark::kMicrosecond);

// The pixel rule alone, without reading and writing the pictures.
void BM_FilterPixelsFadeOut(benchmark::State& state) {
    std::vector<std::uint32_t> px(640 * 320 + 1, 0x00804020u);
    for (auto _ : state) {
        dalvo::filter_pixels(dalvo::FilterRule::Fade, 0.3, px.data(), 640 * 320);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FilterPixelsFadeOut)->Unit(benchmark::kMicrosecond);

// The whole mesh dissolve: nine frames and the final copy (virtual sleeps take no time).
void BM_MeshDissolveEffect(benchmark::State& state) {
    Bench b;
    for (auto _ : state) b.effect("MS");
    state.SetItemsProcessed(state.iterations() * 9);
}
BENCHMARK(BM_MeshDissolveEffect)->Unit(benchmark::kMicrosecond);

void BM_UnpacedTransition(benchmark::State& state, const char* code) {
    Bench b;
    for (auto _ : state) b.effect(code);
}
BENCHMARK_CAPTURE(BM_UnpacedTransition, DI, "DI")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UnpacedTransition, VB, "VB")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UnpacedTransition, HB, "HB")->Unit(benchmark::kMicrosecond);

// Showing a sprite, then hiding it without an effect so that the next show runs.
void BM_SpriteShow(benchmark::State& state) {
    Bench b;
    Game& game = *b.game;
    game.g.g_DollSlot = 1;
    // Whole strings rather than literals: GCC 12 at -O3 warns wrongly about assigning those.
    const std::string centre = "C", none;
    for (auto _ : state) {
        game.g.g_DollNo = 1;
        game.g.g_Text = centre;
        dalvo::Doll_change(game);
        game.g.g_DollNo = 0;
        game.g.g_Text = none;
        dalvo::Doll_change(game);
    }
}
BENCHMARK(BM_SpriteShow)->Unit(benchmark::kMicrosecond);

}  // namespace
