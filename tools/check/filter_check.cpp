// A background change burns the standing sprites into the old stage for its
// transition. A colour filter then redraws only the background area, so whatever part
// of a sprite stood on the wall band below it stays there until the next change.

#include <array>
#include <set>
#include <string_view>

#include "check/story_checks.h"
#include "platform/codec/text_codec.h"

namespace dalvo::check {

namespace {

constexpr std::array<std::string_view, 5> kFilters{"DK", "SO", "MC", "MO", "MI"};

bool is_filter(const std::string& code) {
    for (std::string_view f : kFilters) {
        if (code == f) return true;
    }
    return false;
}

}  // namespace

void check_filters(const Scenario& s, const Flow& flow, const FolderFacts& folder, Report& report) {
    std::set<std::size_t> reported;
    // The state is the set of standing sprites, bit k for slot k + 1.
    walk(flow, 0, [&](std::size_t i, int& standing) {
        const Record& r = s.records[i];
        if (!r.place.empty()) {
            const std::string code = platform::char_substr(r.text, 0, 2);
            for (int k = 0; k < 4 && is_filter(code); ++k) {
                if ((standing & (1 << k)) == 0 || !folder.sprite_reaches_wall[k]) continue;
                if (!reported.insert(i).second) break;
                report.warning(s.script_file, r.line,
                               "colour filter \"" + code + "\" while sprite " + std::to_string(k + 1) + " (" +
                                   std::to_string(51 + k) +
                                   ".dat) stands: its lower part stays on the wall band below the background; "
                                   "hide it first");
                break;
            }
            standing = 0;
        }
        if (!r.doll.empty() && r.doll.front() >= '1' && r.doll.front() <= '4') {
            const int bit = 1 << (r.doll.front() - '1');
            standing = r.doll.back() == '0' ? standing & ~bit : standing | bit;
        }
        return true;
    });
}

}  // namespace dalvo::check
