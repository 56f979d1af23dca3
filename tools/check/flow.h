#pragma once
// The records of "3.dat" as a graph: which records can run after which. The story
// checks walk it with a small state of their own, so that a fault met on one route
// only is found without playing the game.

#include <cstddef>
#include <functional>
#include <vector>

#include "check/scenario.h"

namespace dalvo::check {

struct Flow {
    // The records that can run next after record i; empty where a route ends there.
    std::vector<std::vector<std::size_t>> next;
};

// The jumps go to the first record of their scene, a choice to its options' targets,
// a condition either way; "e", "q" and the closing record end the route.
Flow record_flow(const Scenario& scenario);

// Visits every (record, state) pair reachable from record 0 in state `start` once.
// `step` runs record i in `state` (changing it) and returns false to go no further.
// States are small numbers; `at_end` sees the state of every route that ends.
void walk(const Flow& flow, int start, const std::function<bool(std::size_t, int&)>& step,
          const std::function<void(std::size_t, int)>& at_end = {});

}  // namespace dalvo::check
