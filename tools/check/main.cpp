// dalvo-check [--routes] [--json] DIR: checks a data folder without playing it.
// Exit status 0 when nothing is wrong, 1 when an error was found, 2 for bad usage.

#include <cstring>
#include <iostream>
#include <string>

#include "check/check.h"

namespace {

int usage() {
    std::cerr << "usage: dalvo-check [--routes] [--json] DIR\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool routes = false;
    bool json = false;
    std::string dir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--routes") {
            routes = true;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "--help") {
            usage();
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "dalvo-check: unknown option " << arg << "\n";
            return usage();
        } else if (dir.empty()) {
            dir = arg;
        } else {
            return usage();
        }
    }
    if (dir.empty()) return usage();

    dalvo::check::Report report;
    dalvo::check::RouteResult found;
    dalvo::check::check_folder(dir, report, routes ? &found : nullptr);
    if (json) {
        std::cout << dalvo::check::routes_json(found, report, routes);
    } else {
        std::cout << report.text();
        if (routes) std::cout << dalvo::check::routes_text(found, std::filesystem::path(dir) / "3.dat");
    }
    return report.has_errors() ? 1 : 0;
}
