#pragma once
// Faults of a story that the engine plays faithfully but a player sees: each check
// follows every route through the records (check/flow.h).

#include <filesystem>

#include "check/flow.h"
#include "check/report.h"
#include "check/scenario.h"

namespace dalvo::check {

// The default names of "30.dat" and which sprites reach the wall band under the background.
void read_story_facts(const std::filesystem::path& dir, FolderFacts& facts);

// A fade-out "aJ" that some route leaves faded when a piece starts or stops, or at its end.
void check_fades(const Scenario& s, const Flow& flow, Report& report);
// A colour filter while a sprite stands whose picture reaches the wall band below the background.
void check_filters(const Scenario& s, const Flow& flow, const FolderFacts& folder, Report& report);
// A background changed after a "g1" before anything is said, so the card returns the old place first.
void check_day_starts(const Scenario& s, const Flow& flow, Report& report);
// A message that wraps with a forbidden line start or leaves one or two characters alone.
void check_wraps(const Scenario& s, const Flow& flow, const FolderFacts& folder, Report& report);

inline void check_story(const Scenario& s, const FolderFacts& folder, Report& report) {
    const Flow flow = record_flow(s);
    check_fades(s, flow, report);
    check_filters(s, flow, folder, report);
    check_wraps(s, flow, folder, report);
    check_day_starts(s, flow, report);
}

}  // namespace dalvo::check
