#pragma once
// Input scripts: the automation's commands, read from a text file and fed to the
// game one by one from inside its yields.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/form.h"
#include "platform/host.h"

namespace dalvo::platform {

enum class ScriptOp { Wait, Idle, Click, Key, Type, Menu, Press, Hover, Close, Answer, Shot, Dump,
                      Hold, Release, Wheel, Pad, Control };

struct ScriptCommand {
    ScriptOp op = ScriptOp::Wait;
    int line = 0;
    std::uint32_t ms = 0;  // wait, idle
    int x = 0, y = 0;      // click
    MouseButton button = MouseButton::Left;
    int key = 0;
    int mods = 0;          // key: the modifiers held with it (mod::Ctrl ...)
    int dy = 0;            // wheel: 1 up, -1 down
    PadButton pad = PadButton::A;
    int presses = 3;       // pad: 1 down only, 2 up only, 3 down and up
    PlayerControl control_input = PlayerControl::Advance;  // control
    std::string text;     // type: the text; menu: command; shot, dump: file name; press, hover, close: form
    std::string control;  // press, hover
    MsgAnswer answer = MsgAnswer::Ok;
};

struct Script {
    std::string file;  // as named on the command line, for messages
    std::vector<ScriptCommand> commands;
};

inline constexpr std::uint32_t kDefaultIdleMs = 600000;

// Reads a whole script. On a bad line returns false and sets `error` to
// "FILE:LINE: what is wrong".
bool parse_script(std::string_view text, const std::string& file, Script& out, std::string& error);
bool load_script(const std::filesystem::path& file, Script& out, std::string& error);

// The key code of a key name of the script ("Enter", "F5", "a", "7"); -1 when unknown.
int key_code(std::string_view name);
// The script's name of a key code; empty when the script has none.
std::string key_name(int code);
// Whether `name` is a menu command the script knows.
bool is_menu_command(std::string_view name);

struct ScriptOptions {
    std::filesystem::path out_dir = ".";  // where `shot` and `dump` write
    bool close_at_end = true;             // the end of the script closes the game
};

class ScriptRunner final : public InputSource {
public:
    ScriptRunner(Script script, ScriptOptions options);

    // Runs from Host::yield: finishes what is due and delivers at most one input
    // command; the game sees that input in the same yield.
    void poll(Host& host) override;
    // The `answer` commands answer the message boxes in turn; one standing right at
    // the script's place counts as given already (a box may come before the next yield).
    std::optional<MsgAnswer> answer() override;

    bool finished() const { return pos_ >= script_.commands.size(); }
    std::size_t position() const { return pos_; }

    // The automation's pictures and state, also used on their own by tests.
    bool shot(Host& host, const std::string& name, std::string& error) const;
    bool dump(Host& host, const std::string& name, std::string& error) const;

private:
    void advance();
    void deliver(Host& host, const ScriptCommand& c);
    void warn(const ScriptCommand& c, const std::string& message) const;

    Script script_;
    ScriptOptions options_;
    std::size_t pos_ = 0;
    std::deque<MsgAnswer> answers_;
    bool started_ = false;  // the current wait or idle has taken its start time
    std::uint32_t since_ = 0;
    // An idle is over only when the game was found waiting at two yields in a row
    // with time passing between them: a handler that yields once while it works
    // (a pick, a button) is not yet a game waiting for the player.
    bool seen_waiting_ = false;
    std::uint32_t seen_at_ = 0;
    bool closed_ = false;
    int held_mods_ = 0;  // modifiers held by `hold`, added to every key until `release`
};

// The state dump of the automation as one JSON object.
std::string dump_state(Host& host);

}  // namespace dalvo::platform
