#pragma once
// A host over the headless backend and a virtual clock, with its trace lines kept; and the
// game's main form shown on it, with a stage picture and a button, for input to reach.

#include <initializer_list>
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

struct FormFixture : HostFixture {
    FormFixture() : form("Main_Form", "DALVO!", 640, 480) {
        stage = &form.add("Pic_Main", ControlKind::Picture);
        stage->move(0, 0, 640, 368);
        button = &form.add("Command1", ControlKind::Button);
        button->move(100, 100, 80, 24);
        host.show_form(form);
    }
    // Posts the events in order, then lets the host deliver them.
    void send(std::initializer_list<InputEvent> events) {
        for (const InputEvent& e : events) host.post(e);
        host.yield();
    }
    Form form;
    Control* stage;
    Control* button;
};

}  // namespace dalvo::platform::testing_host
