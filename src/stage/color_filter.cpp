#include "stage/color_filter.h"


#include "engine/game.h"
#include "stage/bitmap.h"

namespace dalvo {

namespace {

// The pixel loops are written so that the compiler can run them on several pixels at
// once; where the machine has AVX2 a second copy of them uses it. Each lane does the
// same double operations in the same order, so the results do not change, and no
// multiply-add is fused. The copy is picked when the program loads, which only an ELF
// system's loader does.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#define DALVO_PIXEL_LOOP \
    __attribute__((target_clones("avx2", "default"), optimize("vect-cost-model=dynamic", "fp-contract=off")))
#else
#define DALVO_PIXEL_LOOP
#endif

// Nearest integer, halves to even (the default rounding of the floating-point unit):
// adding 1.5 * 2^52 leaves no fraction bits, so the addition itself rounds.
inline double round_even(double x) {
    constexpr double kShift = 6755399441055744.0;
    return (x + kShift) - kShift;
}

inline double clamp_low(double v) { return v < 0.0 ? 0.0 : v; }
inline double clamp_high(double v) { return v > 255.0 ? 255.0 : v; }
inline double clamp_both(double v) { return clamp_high(clamp_low(v)); }

inline double red(std::uint32_t e) { return static_cast<int>((e >> 16) & 0xFF); }
inline double green(std::uint32_t e) { return static_cast<int>((e >> 8) & 0xFF); }
inline double blue(std::uint32_t e) { return static_cast<int>(e & 0xFF); }

// The channels are whole numbers 0..255 by now.
inline std::uint32_t with_rgb(std::uint32_t entry, double r, double g, double b) {
    return (entry & 0xFF000000u) | (static_cast<std::uint32_t>(static_cast<int>(r)) << 16) |
           (static_cast<std::uint32_t>(static_cast<int>(g)) << 8) |
           static_cast<std::uint32_t>(static_cast<int>(b));
}

DALVO_PIXEL_LOOP
void darken(std::uint32_t* __restrict px, std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) {
        const std::uint32_t e = px[i];
        px[i] = with_rgb(e, clamp_low(red(e) - 100), clamp_low(green(e) - 100), clamp_low(blue(e) - 100));
    }
}

DALVO_PIXEL_LOOP
void grey(std::uint32_t* __restrict px, std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) {
        const std::uint32_t e = px[i];
        const double y = round_even((red(e) + green(e) + blue(e)) / 3);
        px[i] = with_rgb(e, y, y, y);
    }
}

DALVO_PIXEL_LOOP
void fade(double t, std::uint32_t* __restrict px, std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) {
        const std::uint32_t e = px[i];
        const double r = red(e), g = green(e), b = blue(e);
        const double r2 = clamp_high(round_even((g * t + b * t) / 2 + (r - r * t)));
        const double g2 = clamp_high(round_even((r * t + b * t) / 2 + (g - g * t)));
        const double b2 = clamp_high(round_even((r * t + g * t) / 2 + (b - b * t)));
        px[i] = with_rgb(e, r2, g2, b2);
    }
}

DALVO_PIXEL_LOOP
void sepia_tone(std::uint32_t* __restrict px, std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) {
        const std::uint32_t e = px[i];
        const double y = round_even(green(e) * 0.587 + red(e) * 0.299 + blue(e) * 0.114);
        px[i] = with_rgb(e, clamp_both(y + 30), clamp_both(y), clamp_both(y - 20));
    }
}

DALVO_PIXEL_LOOP
void sepia_step(double t, std::uint32_t* __restrict px, std::int32_t last) {
    for (std::int32_t i = 0; i <= last; ++i) {
        const std::uint32_t e = px[i];
        const double r = red(e), g = green(e), b = blue(e);
        const double r2 = clamp_both(round_even((b * t + g * t) / 1.5 + (r - r * t)));
        const double g2 = clamp_both(round_even((r * t + b * t) / 2 + (g - g * t)));
        const double b2 = clamp_both(round_even((r * t + g * t) / 2.2 + (b - b * t)));
        px[i] = with_rgb(e, r2, g2, b2);
    }
}

void sepia(double t, std::uint32_t* px, std::int32_t last) {
    if (t == 0.5) {
        sepia_tone(px, last);
    } else {
        sepia_step(t, px, last);
    }
}

// The loop values of a double loop that adds `step` while the value is within `end`.
std::vector<double> loop_values(double start, double end, double step) {
    std::vector<double> out;
    for (double t = start; step > 0 ? t <= end : t >= end; t += step) out.push_back(t);
    return out;
}

}  // namespace

std::optional<FilterPlan> filter_plan(std::string_view code) {
    if (code == "DK") return FilterPlan{FilterRule::Darken, {0.0}, false, false};
    if (code == "MC") return FilterPlan{FilterRule::Grey, {0.0}, true, false};
    if (code == "SO") return FilterPlan{FilterRule::Sepia, loop_values(0.1, 0.6, 0.1), false, true};
    if (code == "MO") return FilterPlan{FilterRule::Fade, loop_values(0.1, 0.7, 0.1), true, false};
    // The additions leave the eighth value a hair above 0, so "MI" has eight steps and
    // its last one gives the colours back as loaded.
    if (code == "MI") return FilterPlan{FilterRule::Fade, loop_values(0.7, 0.0, -0.1), true, false};
    return std::nullopt;
}

void filter_pixels(FilterRule rule, double t, std::uint32_t* px, std::int32_t last) {
    switch (rule) {
        case FilterRule::Darken: darken(px, last); return;
        case FilterRule::Grey: grey(px, last); return;
        case FilterRule::Fade: fade(t, px, last); return;
        case FilterRule::Sepia: sepia(t, px, last); return;
    }
}

void Filter_run(Game& game, const FilterPlan& plan) {
    MainForm& ui = game.ui;
    StageState& st = game.stage;
    if (plan.refresh_first) ui.Pic_Main->refresh();
    for (const double t : plan.steps) {
        st.Pixel_count = Get_pixels(ui.Place_Load->image, st.Pixels);
        // The count is also the last index: the entry past the image is filtered too.
        filter_pixels(plan.rule, t, st.Pixels.data(), st.Pixel_count);
        if (plan.yields) game.p.host.yield();
        Put_pixels(ui.Place_Back->image, st.Pixels);
        platform::bit_blt(ui.Pic_Main->image, 0, 25, 640, 320, ui.Place_Back->image, 0, 0,
                          platform::Rop::SrcCopy);
        ui.Pic_Main->refresh();
    }
}

}  // namespace dalvo
