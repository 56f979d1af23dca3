// A session played in the real window by input from the X server (xdotool), recorded,
// then replayed headless to the same state.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/game.h"
#include "platform/automation/recorder.h"
#include "platform/automation/script.h"
#include "platform/platform.h"
#include "platform/sdl/menu_bar.h"
#include "platform/sdl/sdl_backend.h"
#include "support/fixture.h"
#include "window/x11_poke.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;
using platform::Host;

// Runs xdotool commands, each once the game waits for the player, as a player at the
// desktop would; after the last one it takes the state and ends the game.
class XdotoolPlayer final : public platform::InputSource, public platform::InputObserver {
public:
    using Action = std::function<std::string(Host&)>;  // xdotool's arguments
    XdotoolPlayer(std::vector<Action> actions, std::string& final_dump)
        : actions_(std::move(actions)), final_dump_(final_dump) {}

    void poll(Host& host) override {
        const std::uint32_t now = host.clock().ticks();
        if (awaiting_input_) {
            if (now - acted_at_ < 10000) return;
            ADD_FAILURE() << "the input of action " << next_ << " never came";
            host.end_program(1);
        }
        // Waiting for the player at two looks a moment apart, as the script's idle.
        if (host.automation().waiting() == "none") {
            seen_at_.reset();
            return;
        }
        if (!seen_at_) seen_at_ = now;
        if (now - *seen_at_ < 50) return;
        seen_at_.reset();
        if (next_ == actions_.size()) {
            final_dump_ = platform::dump_state(host);
            host.end_program(0);
        }
        const std::string command = "xdotool " + actions_[next_++](host);
        awaiting_input_ = true;
        acted_at_ = now;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    void on_input(Host&, const platform::InputEvent& event) override {
        if (!std::holds_alternative<platform::MouseMove>(event)) awaiting_input_ = false;
    }
    void on_answer(Host&, platform::MsgAnswer, std::uint32_t) override {}

private:
    std::vector<Action> actions_;
    std::string& final_dump_;
    std::size_t next_ = 0;
    bool awaiting_input_ = false;
    std::uint32_t acted_at_ = 0;
    std::optional<std::uint32_t> seen_at_;  // when the current wait was first seen
};

// xdotool's arguments for a left click at (x, y) of a form's window (its menu bar included).
std::string click(Host& host, const platform::Form& form, int x, int y) {
    auto& backend = dynamic_cast<platform::SdlBackend&>(host.backend());
    return "mousemove --sync --window " + std::to_string(x11_window_of(backend.window_id(form))) + " " +
           std::to_string(x) + " " + std::to_string(y) + " click 1";
}

int menu_height(const platform::Form& form) { return form.menu.empty() ? 0 : platform::kMenuBarHeight; }

// A click on a named control where its window shows it.
XdotoolPlayer::Action click_on(std::string form, std::string control) {
    return [form, control](Host& host) {
        const platform::Form& f = *host.find_form(form);
        const platform::Control& c = *f.find(control);
        return click(host, f, c.absolute_left() + c.width / 2, menu_height(f) + c.absolute_top() + c.height / 2);
    };
}

XdotoolPlayer::Action click_at(int x, int y) {
    return [x, y](Host& host) { return click(host, *host.main_form(), x, y + platform::kMenuBarHeight); };
}

XdotoolPlayer::Action menu(std::string name) {
    return [name](Host& host) {
        const platform::Form& f = *host.main_form();
        const auto slots = platform::layout_menu(f.menu);
        std::size_t i = 0;
        while (f.menu[i].name != name) ++i;
        return click(host, f, slots[i].left + slots[i].width / 2, platform::kMenuBarHeight / 2);
    };
}

// Keys go to the game window, given the keyboard first.
XdotoolPlayer::Action keys(std::string args) {
    return [args](Host& host) {
        auto& backend = dynamic_cast<platform::SdlBackend&>(host.backend());
        return "windowfocus --sync " + std::to_string(x11_window_of(backend.window_id(*host.main_form()))) + " " + args;
    };
}

TEST(WindowInner, ASessionRecordedInTheWindowReplaysHeadlessToTheSameState) {
    if (std::getenv("DALVO_WINDOW_INNER") == nullptr) GTEST_SKIP() << "runs inside Xvfb only";
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
    FixtureFolder first, second;  // the bundled story, once for each run
    const fs::path recording = first.file("window.script");
    std::string final_dump;
    {
        std::string error;
        auto set = platform::make_sdl_platform({}, error);
        ASSERT_TRUE(set) << error;
        platform::Platform& p = set->platform();
        platform::Recorder recorder(p.host);
        ASSERT_TRUE(recorder.start(recording, "# a session in the real window", error)) << error;
        auto player = std::make_unique<XdotoolPlayer>(
            std::vector<XdotoolPlayer::Action>{
                click_on("Main_Form", "Label1"),                     // the title: a new game
                keys("key BackSpace"), keys("type Ai"),               // the name entry
                click_on("Main_Form", "Name_ent_btn"),
                click_at(320, 200), click_at(320, 200),              // two lines of the prologue
                click_on("Option_Window", "Check3"),                 // the dialog the story opens
                click_on("Option_Window", "Command1"),
                click_at(320, 200),
                menu("opt_menu"), click_on("Option_Window", "Command1"),
            },
            final_dump);
        p.host.add_input_observer(*player);
        XdotoolPlayer& watcher = *player;
        p.host.add_input_source(std::move(player));
        int code = -1;
        try {
            code = run_game(p, {.data_dir = first.path(), .program_dir = first.path()});
        } catch (const platform::ProgramEnd& end) {
            code = end.code;
        }
        p.host.remove_input_observer(watcher);
        recorder.finish();
        ASSERT_EQ(code, 0);
    }
    // An input left out of the recording (a key, a letter, a dialog's box) shows as another
    // state after the replay; the menu command opens a dialog that changes nothing.
    const std::string recorded = read_file(recording);
    EXPECT_NE(recorded.find("\nmenu opt_menu\n"), std::string::npos) << recorded;

    const fs::path out = second.path() / "out";
    const RunResult replayed = play_dalvo(second.path(), recording, out);
    ASSERT_EQ(replayed.exit_code, 0) << replayed.err;
    ASSERT_FALSE(final_dump.empty());
    EXPECT_EQ(without_time(read_file(out / "end.json")), without_time(final_dump + "\n"))
        << recorded;
}

}  // namespace
}  // namespace dalvo::test
