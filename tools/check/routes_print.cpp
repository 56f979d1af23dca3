// The route explorer's findings as text for a person and as JSON for tools.

#include <map>

#include "check/check.h"
#include "platform/codec/json.h"

namespace dalvo::check {

namespace {

// Runs of consecutive records that no route executes, as [first, last] indexes.
std::vector<std::pair<std::size_t, std::size_t>> unreached_runs(const RouteResult& r) {
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    // The closing record is never run, and epilogue records are read, not run.
    const std::size_t count = r.executed.empty() ? 0 : r.executed.size() - 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (r.executed[i] || r.epilogue[i]) continue;
        if (!runs.empty() && runs.back().second + 1 == i) {
            runs.back().second = i;
        } else {
            runs.push_back({i, i});
        }
    }
    return runs;
}

std::string outcome_text(const RouteOutcome& o) {
    switch (o.end) {
    case RouteEnd::Ending:
        return std::string(o.hap == 0 ? "plain ending" : "full ending") + " (g_hap " + std::to_string(o.hap) + ")";
    case RouteEnd::Quit: return "quit";
    case RouteEnd::LastRecord: return "ends on the last record instead of \"e\" or \"q\"";
    case RouteEnd::NoWait: return "runs on without waiting for the player";
    case RouteEnd::Endless: return "comes back in the same state and never ends";
    case RouteEnd::Stopped: return "stops the game: " + o.message;
    }
    return {};
}

}  // namespace

std::string routes_text(const RouteResult& r, const std::filesystem::path& script_file) {
    if (!r.loaded) return "routes: the scenario does not load\n";
    std::string out;
    int routes = 0;
    for (const RouteOutcome& o : r.outcomes) routes += o.routes;
    out += "routes: " + std::to_string(routes) + " explored, " + std::to_string(r.states) + " states" +
           (r.truncated ? " (stopped early: too many states)" : "") + "\n";
    for (const RouteOutcome& o : r.outcomes) {
        out += "  " + script_file.string() + ":" + std::to_string(o.line) + " (scene " + std::to_string(o.scene) +
               "): " + outcome_text(o) + "; " + std::to_string(o.routes) + (o.routes == 1 ? " route" : " routes") +
               ", e.g. picks " + picks_text(o.picks) + "\n";
    }
    std::map<std::int16_t, int> endings;
    for (const RouteOutcome& o : r.outcomes) {
        if (o.end == RouteEnd::Ending) endings[o.hap] += o.routes;
    }
    out += "endings:";
    if (endings.empty()) out += " none";
    for (const auto& [hap, count] : endings) out += " g_hap " + std::to_string(hap) + " (" + std::to_string(count) + ")";
    out += "\n";
    const auto runs = unreached_runs(r);
    for (const auto& [first, last] : runs) {
        out += script_file.string() + ":" + std::to_string(r.lines[first]) + ": warning: ";
        out += first == last ? "record" : "records up to line " + std::to_string(r.lines[last]);
        out += " (scene " + std::to_string(r.scenes[first]) + ") never executed by any route\n";
    }
    if (runs.empty()) out += "every record is executed by some route\n";
    return out;
}

std::string routes_json(const RouteResult& r, const Report& report, bool with_routes) {
    platform::JsonWriter j;
    j.begin_object();
    j.key("diagnostics").begin_array();
    for (const Diagnostic& d : report.items()) {
        j.begin_object();
        j.field("file", d.file).field("line", d.line);
        j.field("severity", d.severity == Severity::Error ? "error" : "warning");
        j.field("message", d.message).end_object();
    }
    j.end_array();
    if (!with_routes) return j.end_object().str() + "\n";
    j.field("loaded", r.loaded).field("states", static_cast<std::int64_t>(r.states)).field("truncated", r.truncated);
    j.key("outcomes").begin_array();
    for (const RouteOutcome& o : r.outcomes) {
        j.begin_object();
        j.field("end", end_name(o.end)).field("record", static_cast<std::int64_t>(o.record));
        j.field("line", o.line).field("scene", static_cast<int>(o.scene)).field("g_hap", static_cast<int>(o.hap));
        j.field("routes", o.routes).array_field("picks", o.picks);
        if (!o.message.empty()) j.field("message", o.message);
        j.end_object();
    }
    j.end_array();
    j.key("unreached").begin_array();
    for (const auto& [first, last] : unreached_runs(r)) {
        j.begin_object();
        j.field("first_line", r.lines[first]).field("last_line", r.lines[last]);
        j.field("scene", static_cast<int>(r.scenes[first])).end_object();
    }
    j.end_array();
    j.end_object();
    return j.str() + "\n";
}

}  // namespace dalvo::check
