// A day card ends by growing back the stage it darkened. A background changed in the
// records that follow the "g1" before anything is said comes only after that: the
// player sees the old place return at full brightness and then cut to the new one.
// Changing the background just before the "g1" darkens the new place instead.

#include <set>

#include "check/story_checks.h"

namespace dalvo::check {

void check_day_starts(const Scenario& s, const Flow& flow, Report& report) {
    // The state is the index of the last "g1" plus one while nothing was said since; else 0.
    std::set<std::pair<std::size_t, std::size_t>> found;  // (background change, day start)
    walk(flow, 0, [&](std::size_t i, int& open) {
        const Record& r = s.records[i];
        if (r.cmd == "g1") {
            open = static_cast<int>(i) + 1;
            return true;
        }
        if (open != 0 && !r.place.empty()) found.emplace(i, static_cast<std::size_t>(open - 1));
        if (!r.speaker.empty() || r.cmd == "s") open = 0;
        return true;
    });
    std::set<std::size_t> told;
    for (const auto& [index, day] : found) {
        if (!told.insert(index).second) continue;
        report.warning(s.script_file, s.records[index].line,
                       "background " + s.records[index].place + " changes right after the day card of line " +
                           std::to_string(s.records[day].line) +
                           ", which brings the old background back first: change it before the \"g1\"");
    }
}

}  // namespace dalvo::check
