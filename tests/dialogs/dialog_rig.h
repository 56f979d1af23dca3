#pragma once
// A headless game after its window load (the title showing) on a fixture data folder,
// for driving the dialogs through the host as a player would.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/game.h"
#include "platform/platform.h"
#include "platform/gfx/surface.h"
#include "support/fixture.h"
#include "support/trace_field.h"

namespace dalvo::test {

class DialogRig {
public:
    // `mixer_fails`: the master-level service cannot be opened.
    explicit DialogRig(bool mixer_fails = false);

    Game& game() { return *game_; }
    EngineState& g() { return game_->g; }
    platform::Host& host() { return game_->p.host; }
    FixtureFolder& folder() { return folder_; }

    // Each posts its input and yields once, so that the handlers have run on return.
    void send(platform::InputEvent event);
    void press(const std::string& form, const std::string& control) { send(platform::PressControl{form, control}); }
    void key(int code) { send(platform::KeyDown{host().active_form()->name, code}); }  // to the active form

    // Trace lines of kind `ev`, and the texts of the message boxes, so far.
    std::vector<std::string> events(const std::string& ev) const;
    std::vector<std::string> messages() const;

private:
    class FailingLevel;

    FixtureFolder folder_;
    std::unique_ptr<platform::PlatformSet> set_;
    std::unique_ptr<platform::MasterLevel> failing_;
    std::optional<platform::Platform> platform_;
    std::vector<std::string> trace_;
    std::unique_ptr<Game> game_;
};


// Composes `form` and checks it against `hash`. On a mismatch writes NAME.actual.png
// into the test's working folder, beside NAME.expected.png copied from the references.
void expect_form_picture(const platform::Form& form, std::uint64_t hash, const std::string& name);

}  // namespace dalvo::test
