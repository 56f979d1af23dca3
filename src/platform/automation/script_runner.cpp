// Feeding an input script to the game, and the automation's pictures and dumps.

#include <fstream>
#include <iostream>

#include "platform/automation/script.h"
#include "platform/gfx/picture.h"

namespace dalvo::platform {

namespace {

constexpr int kShiftKey = 16, kCtrlKey = 17, kAltKey = 18;

std::string waiting_of(Host& host) {
    const auto& waiting = host.automation().waiting;
    return waiting ? waiting() : std::string("none");
}

bool prepare_file(const std::filesystem::path& file, std::string& error) {
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) error = file.parent_path().string() + ": " + ec.message();
    return !ec;
}

}  // namespace

std::string dump_state(Host& host) {
    JsonWriter w;
    w.begin_object();
    w.field("time_ms", static_cast<std::int64_t>(host.elapsed_ms()));
    w.field("waiting", waiting_of(host));
    if (host.automation().dump) host.automation().dump(w);
    w.key("forms").begin_array();
    for (const Form* f : host.forms()) w.value(f->name);
    w.end_array();
    w.key("menu").begin_object();
    if (const Form* main = host.main_form()) {
        for (std::size_t i = 0; i < main->menu.size(); ++i) {
            const MenuItem& item = main->menu[i];
            w.key(item.name).begin_object();
            w.field("caption", item.caption()).field("enabled", item.enabled());
            // Only while the keyboard walks the bar: a dump of a closed bar stays as it was.
            if (static_cast<int>(i) == main->menu_highlight()) w.field("highlighted", true);
            w.end_object();
        }
    }
    w.end_object();
    w.end_object();
    return w.str();
}

ScriptRunner::ScriptRunner(Script script, ScriptOptions options)
    : script_(std::move(script)), options_(std::move(options)) {}

void ScriptRunner::advance() {
    ++pos_;
    started_ = false;
}

void ScriptRunner::warn(const ScriptCommand& c, const std::string& message) const {
    std::cerr << script_.file << ":" << c.line << ": " << message << std::endl;
}

std::optional<MsgAnswer> ScriptRunner::answer() {
    while (pos_ < script_.commands.size() && script_.commands[pos_].op == ScriptOp::Answer) {
        answers_.push_back(script_.commands[pos_].answer);
        advance();
    }
    if (answers_.empty()) return std::nullopt;
    const MsgAnswer a = answers_.front();
    answers_.pop_front();
    return a;
}

void ScriptRunner::poll(Host& host) {
    const auto& commands = script_.commands;
    while (pos_ < commands.size()) {
        const ScriptCommand& c = commands[pos_];
        const std::uint32_t now = host.clock().ticks();
        switch (c.op) {
            case ScriptOp::Wait:
                if (!started_) {
                    started_ = true;
                    since_ = now;
                }
                if (now - since_ < c.ms) return;
                advance();
                break;
            case ScriptOp::Idle:
                if (!started_) {
                    started_ = true;
                    since_ = now;
                    seen_waiting_ = false;
                }
                if (waiting_of(host) != "none") {
                    if (seen_waiting_ && now != seen_at_) {
                        advance();
                        break;
                    }
                    if (!seen_waiting_) seen_at_ = now;
                    seen_waiting_ = true;
                } else {
                    seen_waiting_ = false;
                }
                if (now - since_ >= c.ms) {
                    warn(c, "idle: the game did not wait for the player within " + std::to_string(c.ms) + " ms");
                    host.end_program(3);
                }
                return;
            case ScriptOp::Answer:
                answers_.push_back(c.answer);
                advance();
                break;
            case ScriptOp::Shot:
            case ScriptOp::Dump: {
                advance();
                std::string error;
                const bool ok = c.op == ScriptOp::Shot ? shot(host, c.text, error) : dump(host, c.text, error);
                if (!ok) warn(c, error);
                break;
            }
            default:
                // Consumed before it is delivered: a handler that waits inside a nested
                // yield must find the next command there.
                advance();
                deliver(host, c);
                return;
        }
    }
    if (options_.close_at_end && !closed_) {
        closed_ = true;
        if (host.automation().close) host.automation().close();
        else host.end_program(0);
    }
}

void ScriptRunner::deliver(Host& host, const ScriptCommand& c) {
    Form* main = host.main_form();
    Form* active = host.active_form();
    switch (c.op) {
        case ScriptOp::Click:
            if (!main) return warn(c, "click: no form is open");
            host.post(MouseMove{main->name, c.x, c.y});
            host.post(MouseDown{main->name, c.x, c.y, c.button});
            host.post(MouseUp{main->name, c.x, c.y, c.button});
            return;
        case ScriptOp::Key:
            if (!active) return warn(c, "key: no form is open");
            host.post(KeyDown{active->name, c.key, c.mods | held_mods_});
            host.post(KeyUp{active->name, c.key});
            return;
        case ScriptOp::Hold:
        case ScriptOp::Release: {
            if (!active) return warn(c, std::string(c.op == ScriptOp::Hold ? "hold" : "release") + ": no form is open");
            const int bit = c.key == kCtrlKey ? mod::Ctrl : c.key == kAltKey ? mod::Alt : c.key == kShiftKey ? mod::Shift : 0;
            if (c.op == ScriptOp::Hold) {
                held_mods_ |= bit;
                host.post(KeyDown{active->name, c.key, held_mods_});
            } else {
                held_mods_ &= ~bit;
                host.post(KeyUp{active->name, c.key});
            }
            return;
        }
        case ScriptOp::Wheel:
            if (!main) return warn(c, "wheel: no form is open");
            host.post(Wheel{main->name, c.dy});
            return;
        case ScriptOp::Pad:
            if (!active) return warn(c, "pad: no form is open");
            if (c.presses & 1) host.post(PadPress{active->name, c.pad, true});
            if (c.presses & 2) host.post(PadPress{active->name, c.pad, false});
            return;
        case ScriptOp::Control:
            if (!active) return warn(c, "control: no form is open");
            host.post(ControlInput{active->name, c.control_input});
            return;
        case ScriptOp::Type:
            if (!active) return warn(c, "type: no form is open");
            host.post(TextInput{active->name, c.text});
            return;
        case ScriptOp::Menu:
            if (!main) return warn(c, "menu: no form is open");
            host.post(MenuCommand{main->name, c.text});
            return;
        case ScriptOp::Press:
        case ScriptOp::Hover: {
            Form* form = host.find_form(c.text);
            if (!form) return warn(c, "the form " + c.text + " is not open");
            if (!form->find(c.control)) return warn(c, form->name + " has no control " + c.control);
            if (c.op == ScriptOp::Press) host.post(PressControl{c.text, c.control});
            else host.post(HoverControl{c.text, c.control});
            return;
        }
        case ScriptOp::Close: {
            Form* form = c.text.empty() ? main : host.find_form(c.text);
            if (!form) return warn(c, c.text.empty() ? "close: no form is open" : "the form " + c.text + " is not open");
            host.post(CloseRequest{form->name});
            return;
        }
        default: return;
    }
}

bool ScriptRunner::shot(Host& host, const std::string& name, std::string& error) const {
    const auto& forms = host.forms();
    if (forms.empty()) {
        error = "shot: no form is open";
        return false;
    }
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const std::string file_name = i == 0 ? name + ".png" : name + "." + forms[i]->name + ".png";
        const std::filesystem::path file = options_.out_dir / file_name;
        // The screen as the player sees it; a form not presented yet is still black.
        const Surface* screen = host.screen(*forms[i]);
        const Surface unseen(forms[i]->client_width, forms[i]->client_height);
        if (!prepare_file(file, error) || !save_png(screen ? *screen : unseen, file, error)) return false;
    }
    return true;
}

bool ScriptRunner::dump(Host& host, const std::string& name, std::string& error) const {
    const std::filesystem::path file = options_.out_dir / (name + ".json");
    if (!prepare_file(file, error)) return false;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << dump_state(host) << '\n';
    if (!out) {
        error = file.string() + ": cannot write";
        return false;
    }
    return true;
}

}  // namespace dalvo::platform
