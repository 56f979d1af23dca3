#pragma once
// dalvo-check: a data folder checked without playing it.

#include <filesystem>

#include "check/report.h"
#include "check/routes.h"

namespace dalvo::check {

// Every file the game reads, the scenario, and the routes through it. `routes`, when
// given, receives the route explorer's findings (empty when the scenario does not load).
void check_folder(const std::filesystem::path& dir, Report& report, RouteResult* routes = nullptr);

// The route explorer's findings for a person, and as one JSON object for tools.
std::string routes_text(const RouteResult& routes, const std::filesystem::path& script_file);
// The JSON object holds the diagnostics, and the routes when `with_routes`.
std::string routes_json(const RouteResult& routes, const Report& report, bool with_routes = true);

}  // namespace dalvo::check
