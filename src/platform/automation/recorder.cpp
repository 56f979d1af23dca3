// Input as the game received it, turned back into script lines.

#include "platform/automation/recorder.h"

#include "platform/automation/script.h"
#include "platform/ui/player_control.h"

namespace dalvo::platform {

namespace {

template <class... F>
struct Overload : F... {
    using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// `type` takes the rest of its line; a line break or a word starting with '#' (a
// comment) cannot be in it.
bool typeable(std::string_view text) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') return false;
        if (text[i] == '#' && (i == 0 || is_blank(text[i - 1]))) return false;
    }
    return true;
}

}  // namespace

Recorder::Recorder(Host& host) : host_(host), last_ms_(host.clock().ticks()) { host_.add_input_observer(*this); }

Recorder::~Recorder() {
    finish();
    host_.remove_input_observer(*this);
}

bool Recorder::start(const std::filesystem::path& file, std::string_view header, std::string& error) {
    out_.open(file, std::ios::binary | std::ios::trunc);
    out_ << header;
    if (!header.empty() && header.back() != '\n') out_ << '\n';
    out_.flush();
    if (!out_) {
        error = file.string() + ": cannot write the recording";
        out_.close();
        return false;
    }
    return true;
}

void Recorder::finish() {
    if (finished_ || !out_.is_open()) return;
    finished_ = true;
    out_ << "dump end\n";
    out_.flush();
}

std::string Recorder::line_for(Host& host, const InputEvent& event) const {
    const Form* main = host.main_form();
    const auto target = [&](const std::string& name) -> Form* {
        Form* f = host.find_form(name);
        // Input for a form that is gone or behind a modal dialog does nothing.
        return f && f->enabled ? f : nullptr;
    };
    return std::visit(
        Overload{
            [&](const MouseDown& e) -> std::string {
                Form* f = target(e.form);
                if (!f || e.button == MouseButton::Middle) return {};
                // The game window's client area is the script's; a dialog is reached by
                // its controls' names, wherever the window manager put it.
                if (f == main) {
                    if (e.x < 0 || e.y < 0 || e.x > 639 || e.y > 479) return {};
                    return "click " + std::to_string(e.x) + " " + std::to_string(e.y) +
                           (e.button == MouseButton::Right ? " right" : "");
                }
                const Control* c = e.button == MouseButton::Left ? f->hit_test(e.x, e.y) : nullptr;
                return c && !c->name.empty() ? "press " + f->name + "." + c->name : std::string();
            },
            [&](const KeyDown& e) -> std::string {
                const std::string name = key_name(e.key);
                if (!target(e.form) || name.empty()) return {};
                // Ctrl is held down for a while (skipping): its release is a line of its own.
                if (name == "Ctrl") return "hold Ctrl";
                std::string held;
                if (e.mods & mod::Ctrl) held += "Ctrl+";
                if (e.mods & mod::Alt) held += "Alt+";
                if (e.mods & mod::Shift) held += "Shift+";
                if (name == "Alt" || name == "Shift") held.clear();
                return "key " + held + name;
            },
            [&](const KeyUp& e) -> std::string {
                return target(e.form) && key_name(e.key) == "Ctrl" ? "release Ctrl" : std::string();
            },
            [&](const Wheel& e) -> std::string {
                return target(e.form) ? std::string(e.dy > 0 ? "wheel up" : "wheel down") : std::string();
            },
            [&](const PadPress& e) -> std::string {
                if (!target(e.form)) return {};
                return "pad " + std::string(pad_button_name(e.button)) + (e.down ? " down" : " up");
            },
            [&](const ControlInput& e) -> std::string {
                return target(e.form) ? "control " + std::string(control_name(e.control)) : std::string();
            },
            [&](const TextInput& e) -> std::string {
                if (!target(e.form)) return {};
                return typeable(e.utf8) ? "type " + e.utf8 : "# text typed here cannot be written as a script line";
            },
            [&](const MenuCommand& e) -> std::string {
                return target(e.form) && is_menu_command(e.name) ? "menu " + e.name : std::string();
            },
            [&](const CloseRequest& e) -> std::string {
                if (!target(e.form)) return {};
                return main && e.form == main->name ? "close" : "close " + e.form;
            },
            [&](const PressControl& e) -> std::string { return "press " + e.form + "." + e.control; },
            [&](const HoverControl& e) -> std::string { return "hover " + e.form + "." + e.control; },
            // Pointer moves, releases, compositions and focus changes follow from the rest.
            [](const auto&) { return std::string(); },
        },
        event);
}

void Recorder::on_input(Host& host, const InputEvent& event) {
    if (finished_ || !out_.is_open()) return;
    const std::string line = line_for(host, event);
    if (!line.empty()) write_input(host, line);
}

void Recorder::write_input(Host& host, const std::string& line) {
    const std::uint32_t now = host.clock().ticks() - paused_ms_;
    const auto& waiting = host.automation().waiting;
    // Waiting for the player, the moment does not matter, only that it came; else the
    // game's time since the previous input does.
    if (waiting && waiting() != "none") out_ << "idle\n";
    else if (now != last_ms_) out_ << "wait " << (now - last_ms_) << "\n";
    last_ms_ = now;
    tail_at_ = out_.tellp();
    tail_ = line + "\n";
    out_ << tail_;
    out_.flush();
}

void Recorder::on_answer(Host&, MsgAnswer answer, std::uint32_t shown_ms) {
    paused_ms_ += shown_ms;
    if (finished_ || !out_.is_open()) return;
    const std::string line = std::string("answer ") + answer_name(answer) + "\n";
    if (tail_at_ < 0) {
        out_ << line;
    } else {
        // Before the input that opened the box (and any box since): a replay must hold
        // the answer when the box comes.
        out_.seekp(tail_at_);
        out_ << line << tail_;
        tail_at_ += static_cast<std::streamoff>(line.size());
    }
    out_.flush();
}

}  // namespace dalvo::platform
