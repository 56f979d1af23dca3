#pragma once
// No window at all: nothing to pump. Input comes only from the input script through
// Host::post; the screen is the host's picture of each form as last presented.

#include "platform/host.h"

namespace dalvo::platform {

class HeadlessBackend final : public Backend {
public:
    bool headless() const override { return true; }
    void pump(std::vector<InputEvent>&) override {}
    void show(Form&, const Surface&, const Damage&) override {}
    void form_shown(Form&) override {}
    void form_hidden(Form&) override {}
    // The host answers message boxes itself when headless.
    MsgAnswer message_box(std::string_view, MsgButtons buttons) override {
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    void set_ime_open(bool) override {}
    void open_url(std::string_view) override {}
    void set_cursor(const Cursor*, bool) override {}
};

}  // namespace dalvo::platform
