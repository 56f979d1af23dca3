// Hot paths of the stage: whole-stage copies, one frame of the mesh dissolve, and
// the pixel-array round trip of the colour filters.

#include <benchmark/benchmark.h>

#include <vector>

#include "platform/gfx/surface.h"
#include "stage/bitmap.h"

namespace {

using dalvo::platform::bit_blt;
using dalvo::platform::Rop;
using dalvo::platform::Surface;

Surface patterned(int w, int h, std::uint32_t seed) {
    Surface s(w, h);
    std::uint32_t v = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            v = v * 1664525u + 1013904223u;
            s.row(y)[x] = v >> 8;
        }
    return s;
}

void BM_BitBltCopyStage(benchmark::State& state) {
    const Surface src = patterned(640, 368, 1);
    Surface dst(640, 368);
    for (auto _ : state) {
        bit_blt(dst, 0, 0, 640, 368, src, 0, 0, Rop::SrcCopy);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 368 * 4);
}
BENCHMARK(BM_BitBltCopyStage);

// One dissolve step over the stage: for each 32 x 32 cell, cut the new picture
// through the mesh stage, punch the mesh into the shown picture, and XOR the cut in.
void BM_MeshDissolveFrame(benchmark::State& state) {
    const Surface next = patterned(640, 368, 2);
    const Surface mesh = patterned(320, 64, 3);
    const Surface inverse = patterned(320, 64, 4);
    Surface shown = patterned(640, 368, 5);
    Surface work(32, 32);
    int stage = 0;
    for (auto _ : state) {
        const int mx = (stage % 10) * 32;
        for (int i = 0; i < 230; ++i) {
            const int x = (i % 20) * 32, y = (i / 20) * 32;
            bit_blt(work, 0, 0, 32, 32, next, x, y, Rop::SrcCopy);
            bit_blt(work, 0, 0, 32, 32, mesh, mx, 0, Rop::SrcAnd);
            bit_blt(shown, x, y, 32, 32, inverse, mx, 0, Rop::SrcAnd);
            bit_blt(shown, x, y, 32, 32, work, 0, 0, Rop::SrcInvert);
        }
        stage = (stage + 1) % 10;
        benchmark::DoNotOptimize(shown.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 230 * 4);
}
BENCHMARK(BM_MeshDissolveFrame);

void BM_GetPutPixelsBackground(benchmark::State& state) {
    const Surface load = patterned(640, 320, 6);
    Surface back(640, 320);
    std::vector<std::uint32_t> pixels;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dalvo::Get_pixels(load, pixels));
        benchmark::DoNotOptimize(dalvo::Put_pixels(back, pixels));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 2 * 640 * 320 * 4);
}
BENCHMARK(BM_GetPutPixelsBackground);

}  // namespace
