#pragma once
// The route explorer: runs the scenario's control flow through every combination of
// choices with the engine's own loader, lookups, conditions and parameter changes.
// A state is the record position with every value a branch can read (day, game
// parameters, the sprite slot a face change needs), so loops end.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dalvo::check {

enum class RouteEnd {
    Ending,      // "e": the ending runs with `hap`
    Quit,        // "q"
    LastRecord,  // the position reached the closing record: the game would stand still
    NoWait,      // 10,000 records, or a loop, without waiting for the player
    Endless,     // back in the same state after waiting: the route never ends
    Stopped,     // the engine stops with a message of its own (`message`)
};

struct RouteOutcome {
    RouteEnd end = RouteEnd::Quit;
    std::int32_t record = 0;  // the record where the route ends
    int line = 0;             // its line of "3.dat"
    std::int16_t scene = 0;
    std::int16_t hap = 0;
    std::vector<int> picks;  // the options (from 1) of the first route found
    int routes = 0;          // how many explored routes end so
    std::string message;
};

struct RouteLimits {
    std::size_t max_states = 2'000'000;
    int max_without_wait = 10'000;
};

struct RouteResult {
    bool loaded = false;
    std::string load_error;  // the loader's message when `loaded` is false
    std::vector<RouteOutcome> outcomes;
    std::vector<bool> executed;   // per record index
    std::vector<int> lines;       // line of each record
    std::vector<std::int16_t> scenes;
    std::vector<bool> epilogue;   // read by an ending, never executed
    std::vector<int> face_without_slot;  // lines of face changes run with no character slot
    std::size_t states = 0;
    bool truncated = false;  // stopped at `max_states`
};

RouteResult explore_routes(const std::filesystem::path& data_dir, const RouteLimits& limits = {});

// The picks of a route as a person reads them: "2-1-3", or "(none)".
std::string picks_text(const std::vector<int>& picks);
const char* end_name(RouteEnd end);

}  // namespace dalvo::check
