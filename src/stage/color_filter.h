#pragma once
// The colour filters of the background area: "DK" darken, "SO" sepia, "MC" grey,
// "MO" colours out, "MI" colours back in. Each step starts again from the picture
// in `Place_Load`, so a filter never compounds with the one before it.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace dalvo {

struct Game;

enum class FilterRule {
    Darken,  // every channel 100 darker, not below 0
    Grey,    // the mean of the three channels
    Fade,    // each channel towards the mean of the other two by t
    Sepia,   // towards a warm tone by t; at t = 0.5 exactly, the sepia picture itself
};

struct FilterPlan {
    FilterRule rule = FilterRule::Darken;
    // The step parameters in order, exactly as the double loop produces them.
    std::vector<double> steps;
    // "MC", "MO" and "MI" let input through once a step; "DK" and "SO" block.
    bool yields = false;
    // "SO" shows the stage once before its first step.
    bool refresh_first = false;
};

// The plan of a filter code; nullopt for codes that are not filters.
std::optional<FilterPlan> filter_plan(std::string_view code);

// Applies the rule with parameter t to entries 0 ... last (inclusive) of a pixel
// array (bytes blue, green, red, reserved). A negative `last` changes nothing.
void filter_pixels(FilterRule rule, double t, std::uint32_t* px, std::int32_t last);

// Runs the filter on the stage: every step reads `Place_Load`, writes `Place_Back`
// and copies it into the background area of `Pic_Main`.
void Filter_run(Game& game, const FilterPlan& plan);

}  // namespace dalvo
