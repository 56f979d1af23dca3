// The explorer runs the engine's tables and branch routines on a headless game that
// never draws: stage changes and messages only matter for whether the player waits.

#include "check/routes.h"

#include <array>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>
#include <unordered_map>

#include "check/scenario.h"
#include "engine/conditions.h"
#include "engine/field_reader.h"
#include "engine/game.h"
#include "engine/interpreter.h"
#include "engine/scenario_loader.h"
#include "platform/platform.h"

namespace dalvo::check {

namespace fs = std::filesystem;

namespace {

// Everything the control flow can read, packed so that states hash and compare fast.
using State = std::array<std::int16_t, 18>;

struct StateHash {
    std::size_t operator()(const State& s) const {
        std::uint64_t h = 1469598103934665603ull;
        for (std::int16_t v : s) h = (h ^ static_cast<std::uint16_t>(v)) * 1099511628211ull;
        return static_cast<std::size_t>(h);
    }
};

std::int32_t pos_of(const State& s) {
    return static_cast<std::int32_t>(static_cast<std::uint16_t>(s[0]) |
                                     (static_cast<std::uint32_t>(static_cast<std::uint16_t>(s[1])) << 16));
}

void set_pos(State& s, std::int32_t pos) {
    s[0] = static_cast<std::int16_t>(pos & 0xFFFF);
    s[1] = static_cast<std::int16_t>((pos >> 16) & 0xFFFF);
}

std::array<std::int16_t*, 13> params_of(EngineState& g) {
    return {&g.g_kok, &g.g_eig, &g.g_suu, &g.g_ben, &g.g_kou_iku, &g.g_kou_eki, &g.g_kou_umi,
            &g.g_hat_eki, &g.g_hat_umi, &g.g_hap, &g.g_kae, &g.g_chi, &g.g_hay};
}

void load_state(Game& game, const State& s) {
    EngineState& g = game.g;
    g.g_ScriptPos = pos_of(s);
    g.g_Day = s[2];
    g.g_DollSlot = static_cast<std::uint8_t>(s[3]);
    const auto params = params_of(g);
    for (std::size_t i = 0; i < params.size(); ++i) *params[i] = s[4 + i];
}

State save_state(Game& game) {
    EngineState& g = game.g;
    State s{};
    set_pos(s, g.g_ScriptPos);
    s[2] = g.g_Day;
    s[3] = g.g_DollSlot;
    const auto params = params_of(g);
    for (std::size_t i = 0; i < params.size(); ++i) s[4 + i] = *params[i];
    return s;
}


// Headless message boxes write to standard error: the explorer keeps their text as
// the reason a route stopped instead.
class CaptureStderr {
public:
    CaptureStderr() : old_(std::cerr.rdbuf(buffer_.rdbuf())) {}
    ~CaptureStderr() { std::cerr.rdbuf(old_); }
    std::string take() {
        std::string text = buffer_.str();
        buffer_.str({});
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }

private:
    std::ostringstream buffer_;
    std::streambuf* old_;
};

// The tree of picks: each choice made adds a node under the route's last one.
struct PickNode {
    int parent = -1;
    int pick = 0;
};

struct Work {
    State state;
    int node = -1;
};

class Explorer {
public:
    Explorer(Game& game, const RouteLimits& limits, RouteResult& result)
        : game_(game), g_(game.g), limits_(limits), result_(result) {}

    void run(const State& start) {
        stack_.push_back({start, -1});
        while (!stack_.empty() && !result_.truncated) {
            Work work = stack_.back();
            stack_.pop_back();
            run_segment(work);
        }
        for (auto& [key, outcome] : outcomes_) result_.outcomes.push_back(std::move(outcome));
        result_.states = visited_.size();
        result_.face_without_slot.assign(face_faults_.begin(), face_faults_.end());
    }

private:
    enum class Step { Next, Stay, Jumped, Wait, Branch, End };

    std::vector<int> picks_of(int node) const {
        std::vector<int> picks;
        for (; node >= 0; node = nodes_[node].parent) picks.insert(picks.begin(), nodes_[node].pick);
        return picks;
    }

    void finish(RouteEnd end, int node, std::int16_t hap, std::string message = {}) {
        const std::int32_t pos = g_.g_ScriptPos;
        const auto key = std::make_tuple(static_cast<int>(end), pos, hap, message);
        auto [it, fresh] = outcomes_.try_emplace(key);
        RouteOutcome& o = it->second;
        if (fresh) {
            o.end = end;
            o.record = pos;
            const bool inside = pos >= 0 && pos <= g_.g_ScriptLast;
            o.line = inside ? g_.g_Script[pos].Line : 0;
            o.scene = inside ? g_.g_Script[pos].Scene : 0;
            o.hap = hap;
            o.picks = picks_of(node);
            o.message = std::move(message);
        }
        o.routes += 1;
    }

    void run_segment(const Work& work) {
        const std::uint32_t segment = ++segments_;
        std::uint32_t waits = 0;
        int since_wait = 0;
        bool end_test = true;
        load_state(game_, work.state);
        while (true) {
            if (end_test && g_.g_ScriptPos == g_.g_ScriptLast) return finish(RouteEnd::LastRecord, work.node, g_.g_hap);
            if (g_.g_ScriptPos < 0 || g_.g_ScriptPos > g_.g_ScriptLast) {
                return finish(RouteEnd::Stopped, work.node, g_.g_hap, "the position leaves the script");
            }
            const State state = save_state(game_);
            auto [it, fresh] = visited_.try_emplace(state, Visit{segment, waits});
            if (!fresh) {
                if (it->second.segment != segment) return;  // joins a route already explored
                return finish(it->second.waits == waits ? RouteEnd::NoWait : RouteEnd::Endless, work.node, g_.g_hap);
            }
            if (visited_.size() >= limits_.max_states) {
                result_.truncated = true;
                return;
            }
            result_.executed[g_.g_ScriptPos] = true;
            end_test = true;
            const Step step = run_record(work.node);
            if (step == Step::End) return;
            if (step == Step::Branch) return;
            if (step == Step::Wait) {
                ++waits;
                since_wait = 0;
            } else if (++since_wait >= limits_.max_without_wait) {
                return finish(RouteEnd::NoWait, work.node, g_.g_hap);
            }
            if (step == Step::Jumped) {
                end_test = false;
            } else {
                g_.g_ScriptPos += 1;
            }
        }
    }

    // One record as the interpreter runs it; the engine's routines decide the branches.
    Step run_record(int node) {
        const ScriptRecord& rec = g_.g_Script[g_.g_ScriptPos];
        g_.g_CurScene = rec.Scene;
        g_.g_Cmd = trim_blanks(rec.Cmd);
        g_.g_CurTarget = rec.Target;
        g_.g_Text = trim_blanks(rec.Text);
        g_.g_Arg1 = trim_blanks(rec.Arg1);
        g_.g_Arg2 = trim_blanks(rec.Arg2);
        g_.g_Arg3 = trim_blanks(rec.Arg3);
        const std::string doll = trim_blanks(rec.Doll);
        bool show = true;
        if (!trim_blanks(rec.Place).empty()) {
            g_.g_DollSlot = 0;
            show = false;
        }
        if (!doll.empty()) {
            const char slot = doll.front();
            g_.g_DollSlot = slot >= '0' && slot <= '9' ? static_cast<std::uint8_t>(slot - '0') : 0;
            show = false;
        }
        if (!trim_blanks(rec.Face).empty()) {
            if (g_.g_DollSlot < 1 || g_.g_DollSlot > 3) face_faults_.insert(rec.Line);
            show = true;
        }
        const std::string& cmd = g_.g_Cmd;
        const char digit = cmd.empty() ? '\0' : cmd.back();
        try {
            switch (cmd.empty() ? '\0' : cmd.front()) {
            case 'g':
                if (cmd == "g0") {
                    Jump_target(game_);
                    return Step::Jumped;
                }
                if (cmd == "g1") {
                    if (g_.g_Day == 32767) {
                        finish(RouteEnd::Stopped, node, g_.g_hap, "the half-day counter leaves 16 bits");
                        return Step::End;
                    }
                    g_.g_Day += 1;
                }
                return Step::Next;
            case 'a':
                return Step::Next;
            case 's':
                return branch(node);
            case 'p':
                if (digit == '2') Param_p(game_);
                return Step::Next;
            case 'i':
                return digit == '1' && Cond_i(game_) == kRunAtPos ? Step::Jumped : Step::Next;
            case 'c':
                return (digit == '1' || digit == '2') && Cond_c(game_) == kRunAtPos ? Step::Jumped : Step::Next;
            case 'd':
                if (std::string_view("012349").find(digit) == std::string_view::npos) return Step::Next;
                return Cond_d(game_) == kRunAtPos ? Step::Jumped : Step::Next;
            case 'e':
                for (std::int32_t k = 1; k <= 4 && g_.g_ScriptPos + k <= g_.g_ScriptLast; ++k) {
                    result_.epilogue[g_.g_ScriptPos + k] = true;
                }
                finish(RouteEnd::Ending, node, g_.g_hap);
                return Step::End;
            case 'q':
                finish(RouteEnd::Quit, node, g_.g_hap);
                return Step::End;
            case 'o':
                return Step::Wait;  // the options dialog waits for its button
            case 'r':
                show = true;
                break;
            default:
                break;
            }
        } catch (const platform::ProgramEnd&) {
            finish(RouteEnd::Stopped, node, g_.g_hap, stderr_.take());
            return Step::End;
        }
        return show && !g_.g_Text.empty() ? Step::Wait : Step::Next;
    }

    // "s": one new route per option, each starting at its target record.
    Step branch(int node) {
        const int wanted = option_count(g_.g_Text);
        std::int32_t first = -1;
        for (std::int32_t k = 0; k <= g_.g_SctMax && first < 0; ++k) {
            if (g_.g_SctTable[k].Sct == g_.g_CurScene) first = k;
        }
        // As the game shows them: the entries from the group's first on, whatever their group.
        const bool ok = wanted >= 1 && wanted <= 3 && first >= 0 && first + wanted - 1 <= g_.g_SctMax;
        if (!ok) {
            finish(RouteEnd::Stopped, node, g_.g_hap, "the choice's options are not in the choice table");
            return Step::End;
        }
        const State here = save_state(game_);
        for (int i = wanted - 1; i >= 0; --i) {
            State next = here;
            set_pos(next, g_.g_SctTable[first + i].Pos);
            nodes_.push_back({node, i + 1});
            stack_.push_back({next, static_cast<int>(nodes_.size()) - 1});
        }
        return Step::Branch;
    }

    struct Visit {
        std::uint32_t segment;
        std::uint32_t waits;
    };

    Game& game_;
    EngineState& g_;
    const RouteLimits& limits_;
    RouteResult& result_;
    CaptureStderr stderr_;
    std::vector<Work> stack_;
    std::vector<PickNode> nodes_;
    std::unordered_map<State, Visit, StateHash> visited_;
    std::map<std::tuple<int, std::int32_t, std::int16_t, std::string>, RouteOutcome> outcomes_;
    std::uint32_t segments_ = 0;
    std::set<int> face_faults_;  // lines of "3.dat"
};

}  // namespace

RouteResult explore_routes(const fs::path& data_dir, const RouteLimits& limits) {
    RouteResult result;
    platform::PlatformOptions options;
    options.headless = true;
    auto set = platform::make_headless_platform(options);
    GameOptions game_options;
    game_options.data_dir = data_dir;
    game_options.program_dir = data_dir;
    Game game(set->platform(), game_options);
    game.g_DataPath = data_dir;
    game.data = platform::DataFolder(data_dir);
    {
        CaptureStderr capture;
        try {
            Load_scenario(game);
        } catch (const platform::ProgramEnd&) {
            result.load_error = capture.take();
            return result;
        }
    }
    result.loaded = true;
    // A stopped route ends the game through the window unload, which seals the pictures
    // of the data folder: point it at a folder that does not exist.
    game.g_DataPath = data_dir / "\x01no-such-folder";
    game.data = platform::DataFolder(game.g_DataPath);

    EngineState& g = game.g;
    const std::size_t count = static_cast<std::size_t>(g.g_ScriptLast) + 1;
    result.executed.assign(count, false);
    result.epilogue.assign(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        result.lines.push_back(g.g_Script[i].Line);
        result.scenes.push_back(g.g_Script[i].Scene);
    }
    // A new game starts at record 0 with the values of the window load.
    g.g_kok = 20;
    g.g_suu = 10;
    g.g_eig = 16;
    Explorer explorer(game, limits, result);
    explorer.run(save_state(game));
    return result;
}

std::string picks_text(const std::vector<int>& picks) {
    if (picks.empty()) return "(none)";
    std::string out;
    for (int p : picks) {
        if (!out.empty()) out += '-';
        out += std::to_string(p);
    }
    return out;
}

const char* end_name(RouteEnd end) {
    switch (end) {
    case RouteEnd::Ending: return "ending";
    case RouteEnd::Quit: return "quit";
    case RouteEnd::LastRecord: return "last-record";
    case RouteEnd::NoWait: return "no-wait";
    case RouteEnd::Endless: return "endless";
    case RouteEnd::Stopped: return "stopped";
    }
    return "?";
}

}  // namespace dalvo::check
