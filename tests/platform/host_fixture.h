#pragma once
// A host over the headless backend and a virtual clock, with its trace lines kept.

#include <string>
#include <vector>

#include "platform/os/clock.h"
#include "platform/headless/headless_backend.h"
#include "platform/host.h"
#include "platform/automation/trace.h"

namespace dalvo::platform::testing_host {

struct HostFixture {
    HostFixture() : trace(clock), host(clock, trace, backend) {
        trace.add_observer([this](const std::string& line) { lines.push_back(line); });
    }
    VirtualClock clock;
    Trace trace;
    HeadlessBackend backend;
    Host host;
    std::vector<std::string> lines;
};

}  // namespace dalvo::platform::testing_host
