#include "check/flow.h"

#include <map>
#include <set>
#include <utility>

namespace dalvo::check {

Flow record_flow(const Scenario& s) {
    const std::size_t count = s.records.size();
    Flow flow;
    flow.next.resize(count);
    std::map<std::int16_t, std::size_t> first_of;
    for (std::size_t i = 0; i < count; ++i) {
        if (s.records[i].scene_ok) first_of.try_emplace(s.records[i].scene, i);
    }
    const auto jump = [&](const Record& r, std::vector<std::size_t>& out) {
        if (!r.has_target || !r.target_ok) return;
        if (const auto it = first_of.find(r.target); it != first_of.end()) out.push_back(it->second);
    };
    // The last record closes the script and is never run: nothing follows it.
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const Record& r = s.records[i];
        auto& out = flow.next[i];
        const char kind = r.cmd.empty() ? '\0' : r.cmd.front();
        if (r.cmd == "g0") {
            jump(r, out);
        } else if (kind == 'e' || kind == 'q') {
            // the route ends
        } else if (kind == 's') {
            const int wanted = option_count(r.text);
            std::size_t k = 0;
            while (k < s.choices.size() && !(s.choices[k].ok && s.choices[k].group == r.scene)) ++k;
            for (int n = 0; n < wanted && k < s.choices.size(); ++n, ++k) {
                if (!s.choices[k].ok) continue;
                if (const auto it = first_of.find(s.choices[k].target); it != first_of.end()) out.push_back(it->second);
            }
        } else {
            if (kind == 'i' || kind == 'c' || kind == 'd') jump(r, out);
            out.push_back(i + 1);
        }
    }
    return flow;
}

void walk(const Flow& flow, int start, const std::function<bool(std::size_t, int&)>& step,
          const std::function<void(std::size_t, int)>& at_end) {
    if (flow.next.empty()) return;
    std::set<std::pair<std::size_t, int>> seen;
    std::vector<std::pair<std::size_t, int>> todo{{0, start}};
    while (!todo.empty()) {
        auto [i, state] = todo.back();
        todo.pop_back();
        if (!seen.insert({i, state}).second) continue;
        if (!step(i, state)) continue;
        if (flow.next[i].empty() && at_end) at_end(i, state);
        for (std::size_t n : flow.next[i]) todo.push_back({n, state});
    }
}

}  // namespace dalvo::check
