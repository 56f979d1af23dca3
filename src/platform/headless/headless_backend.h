#pragma once
// No window at all: nothing to pump. Input comes only from the input script through
// Host::post; the screen is the host's picture of each form as last presented.

#include <iostream>

#include "platform/host.h"

namespace dalvo::platform {

class HeadlessBackend final : public Backend {
public:
    void pump(std::vector<InputEvent>&) override {}
    void show(Form&, const Surface&, const Damage&) override {}
    void form_shown(Form&) override {}
    void form_hidden(Form&) override {}
    // Nobody to ask: the box is written to standard error and takes the given
    // answer, else its default button.
    MsgAnswer message_box(std::string_view text, MsgButtons buttons, std::optional<MsgAnswer> given) override {
        std::cerr << text << std::endl;
        return given.value_or(default_answer(buttons));
    }
    void set_ime_open(bool) override {}
    void launch_url(std::string_view) override {}
    void set_cursor(const Cursor*, bool) override {}
};

}  // namespace dalvo::platform
