// Delivery of input to the handlers of the forms and their controls.

#include <algorithm>
#include <utility>

#include "platform/host.h"

namespace dalvo::platform {

namespace {

// Handlers may replace themselves while they run, so a copy is called.
template <class Sig, class... Args>
void call_handler(const std::function<Sig>& handler, Args&&... args) {
    if (!handler) return;
    std::function<Sig> copy = handler;
    copy(std::forward<Args>(args)...);
}

MouseEvent relative(const Control& c, MouseButton button, int x, int y) {
    return MouseEvent{button, x - c.absolute_left(), y - c.absolute_top()};
}

std::size_t char_len(const std::string& s, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
    return std::min(n, s.size() - i);
}

int char_count(const std::string& s) {
    int n = 0;
    for (std::size_t i = 0; i < s.size(); i += char_len(s, i)) ++n;
    return n;
}

std::size_t byte_offset(const std::string& s, int chars) {
    std::size_t i = 0;
    for (int k = 0; k < chars && i < s.size(); ++k) i += char_len(s, i);
    return i;
}

void collect_focusable(std::vector<std::unique_ptr<Control>>& list, std::vector<Control*>& out) {
    for (auto& c : list) {
        if (c->tab_index >= 0 && c->usable()) out.push_back(c.get());
        collect_focusable(c->children, out);
    }
}

// Tab: the next control in tab order takes the focus, Shift+Tab the one before; false
// when none can. A text box reached this way has all its text selected, so that typing
// replaces it. `buttons_only`: the pad walks a dialog's buttons alone.
bool move_focus(Form& form, bool back, bool buttons_only = false) {
    std::vector<Control*> order;
    collect_focusable(form.controls, order);
    if (buttons_only) std::erase_if(order, [](const Control* c) { return c->kind != ControlKind::Button; });
    if (order.empty()) return false;
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tab_index < b->tab_index; });
    const auto it = std::find(order.begin(), order.end(), form.focus());
    const std::size_t n = order.size();
    const std::size_t at = it == order.end() ? (back ? n - 1 : 0)
                                             : (static_cast<std::size_t>(it - order.begin()) + (back ? n - 1 : 1)) % n;
    Control* next = order[at];
    if (next->kind == ControlKind::TextBox) {
        next->anchor = 0;
        next->caret = char_count(next->text);
    }
    form.keyboard_cues = true;
    form.set_focus(next);
    return true;
}

// The selected characters [from, to) of a text box; empty when nothing is selected.
std::pair<int, int> selection(const Control& c) {
    if (c.anchor < 0 || c.anchor == c.caret) return {c.caret, c.caret};
    return {std::min<int>(c.anchor, c.caret), std::max<int>(c.anchor, c.caret)};
}

// Takes the selected characters out of the text; false when none were selected.
bool erase_selection(Control& c) {
    const auto [from, to] = selection(c);
    c.anchor = -1;
    if (from == to) return false;
    std::string text = c.text;
    const std::size_t at = byte_offset(text, from);
    text.erase(at, byte_offset(text, to) - at);
    c.text = std::move(text);
    c.caret = from;
    return true;
}

void take_focus(Form& form, Control& c) {
    if (c.tab_index < 0) return;
    if (c.kind == ControlKind::TextBox && c.anchor >= 0) c.anchor = -1;  // a click puts the caret back alone
    form.set_focus(&c);
}

Control* focused_text_box(Form& form) {
    Control* c = form.focus();
    return c && c->kind == ControlKind::TextBox && c->usable() ? c : nullptr;
}

}  // namespace

void Host::dispatch(const InputEvent& event) {
    for (std::size_t i = 0; i < observers_.size(); ++i) observers_[i]->on_input(*this, event);
    // The menu bar, when walked by keyboard, comes before the game: it is the window's.
    Form* target = find_form(std::visit([](const auto& e) -> const std::string& { return e.form; }, event));
    if (MenuKeys::Outcome menu = menu_keys_.handle(target, event); menu.taken) {
        if (!menu.pick.empty()) on_menu_command(MenuCommand{target->name, std::move(menu.pick)});
        return;
    }
    if (filter_) {
        const auto filter = filter_;  // it may replace itself
        if (filter(event)) return;
    }
    std::visit(
        [this](const auto& e) {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, MouseDown>) on_mouse_down(e);
            else if constexpr (std::is_same_v<T, MouseUp>) on_mouse_up(e);
            else if constexpr (std::is_same_v<T, MouseMove>) on_mouse_move(e);
            else if constexpr (std::is_same_v<T, KeyDown>) on_key_down(e);
            else if constexpr (std::is_same_v<T, TextInput>) on_text_input(e);
            else if constexpr (std::is_same_v<T, TextEditing>) on_text_editing(e);
            else if constexpr (std::is_same_v<T, PressControl>) on_press(e);
            else if constexpr (std::is_same_v<T, HoverControl>) on_hover(e);
            else if constexpr (std::is_same_v<T, MenuCommand>) on_menu_command(e);
            else if constexpr (std::is_same_v<T, PadPress>) on_pad(e);
            else if constexpr (std::is_same_v<T, CloseRequest>) {
                if (Form* f = find_form(e.form); f && f->enabled) call_handler(f->on_close_request);
            } else if constexpr (std::is_same_v<T, FocusLost>) {
                if (Form* f = find_form(e.form)) call_handler(f->on_lost_focus);
            }
        },
        event);
}

void Host::on_menu_command(const MenuCommand& e) {
    Form* f = find_form(e.form);
    if (f && f->enabled) {
        activate(*f);
        f = find_form(e.form);
    }
    MenuItem* item = f && f->enabled ? f->menu_item(e.name) : nullptr;
    // A disabled command does nothing, as for a player.
    if (item && item->enabled()) call_handler(item->on_click);
}

void Host::on_mouse_down(const MouseDown& e) {
    Form* f = find_form(e.form);
    if (!f || !f->enabled) return;  // a form behind a modal dialog ignores the mouse
    activate(*f);
    f = find_form(e.form);
    if (!f) return;
    Control* c = f->hit_test(e.x, e.y);
    capture_ = Capture{f->name, c ? c->name : std::string(), e.button, true};
    if (!c) {
        call_handler(f->on_mouse_down, MouseEvent{e.button, e.x, e.y});
        return;
    }
    take_focus(*f, *c);
    call_handler(c->on_mouse_down, relative(*c, e.button, e.x, e.y));
}

void Host::on_mouse_up(const MouseUp& e) {
    const Capture cap = capture_;
    // The control that got the press also gets the release, wherever it happens.
    const bool captured = cap.active && cap.form == e.form && cap.button == e.button;
    if (captured) capture_.active = false;
    Form* f = find_form(e.form);
    if (!f || !f->enabled) return;
    Control* target = captured ? (cap.control.empty() ? nullptr : f->find(cap.control)) : f->hit_test(e.x, e.y);
    if (target) call_handler(target->on_mouse_up, relative(*target, e.button, e.x, e.y));
    if (!captured || cap.control.empty() || e.button != MouseButton::Left) return;
    f = find_form(e.form);
    if (!f) return;
    // A click is a press and a release on the same control.
    if (Control* under = f->hit_test(e.x, e.y); under && under->name == cap.control) {
        complete_click(*f, cap.control);
    }
}

void Host::on_mouse_move(const MouseMove& e) {
    Form* f = find_form(e.form);
    if (!f || !f->enabled) return;
    const bool captured = capture_.active && capture_.form == e.form;
    Control* target = captured ? (capture_.control.empty() ? nullptr : f->find(capture_.control))
                               : f->hit_test(e.x, e.y);
    const MouseButton button = captured ? capture_.button : MouseButton::Left;
    if (target) call_handler(target->on_mouse_move, relative(*target, button, e.x, e.y));
}

// A click on another window takes the focus away from the active one, as the window
// system does; headless there is no window system to say so, hence here.
void Host::activate(Form& form) {
    if (active_ == form.name) return;
    const std::string from = std::exchange(active_, form.name);
    if (Form* old = find_form(from)) call_handler(old->on_lost_focus);
}

void Host::complete_click(Form& form, const std::string& control) {
    const std::string form_name = form.name;
    Control* c = form.find(control);
    if (!c || !c->usable()) return;
    bool changed = false;
    if (c->kind == ControlKind::CheckBox) {
        c->value = c->value ? 0 : 1;
        changed = true;
    } else if (c->kind == ControlKind::OptionButton && c->value != 1) {
        auto& group = c->parent ? c->parent->children : form.controls;
        for (auto& other : group) {
            if (other.get() != c && other->kind == ControlKind::OptionButton && other->value != 0) {
                other->value = 0;
                other->refresh();
            }
        }
        c->value = 1;
        changed = true;
    }
    if (changed) {
        c->refresh();
        call_handler(c->on_change);
        Form* f = find_form(form_name);
        c = f ? f->find(control) : nullptr;
        if (!c) return;
    }
    call_handler(c->on_click);
}

void Host::on_pad(const PadPress& e) {
    Form* f = find_form(e.form);
    // The game window's pad belongs to the player's controls; a dialog's D-pad walks its buttons.
    if (!e.down || !f || !f->enabled || f == main_form()) return;
    switch (e.button) {
        case PadButton::Up:
        case PadButton::Left: move_focus(*f, true, true); return;
        case PadButton::Down:
        case PadButton::Right: move_focus(*f, false, true); return;
        case PadButton::A:
            if (const Control* c = f->focus(); c && c->kind == ControlKind::Button && c->usable()) {
                const std::string name = c->name;
                complete_click(*f, name);
            }
            return;
        default: return;
    }
}

void Host::on_key_down(const KeyDown& e) {
    Form* f = find_form(e.form);
    if (!f || !f->enabled) return;
    const bool shift = (e.mods & mod::Shift) != 0;
    const int code = e.key;
    if (code == key::Tab && move_focus(*f, shift)) return;
    Control* c = f->focus() && f->focus()->usable() ? f->focus() : nullptr;
    const std::string form_name = f->name;
    const std::string control = c ? c->name : std::string();
    const bool text_box = c && c->kind == ControlKind::TextBox;
    if (c && c->on_key_down) call_handler(c->on_key_down, code);
    else call_handler(f->on_key_down, code);
    // A button the player tabbed to is pressed with Enter or Space.
    if (c && c->kind == ControlKind::Button && f->keyboard_cues && (code == key::Enter || code == key::Space)) {
        if (Form* still = find_form(form_name); still && still->focus() && still->focus()->name == control) {
            complete_click(*still, control);
        }
        return;
    }
    if (!text_box) return;

    // The text box's own editing comes after its handler saw the key.
    f = find_form(form_name);
    c = f ? f->find(control) : nullptr;
    if (!c || f->focus() != c || !c->composition->empty()) return;
    const int count = char_count(c->text);
    c->caret = std::clamp(c->caret.get(), 0, count);
    if (c->anchor > count) c->anchor = count;
    // A caret key with Shift moves one end of the selection; without, it drops it.
    const auto move_caret = [&](int to) {
        if (!shift) c->anchor = -1;
        else if (c->anchor < 0) c->anchor = c->caret;
        c->caret = to;
    };
    bool changed = false;
    switch (code) {
        case key::Backspace:
            if (erase_selection(*c)) {
                changed = true;
            } else if (c->caret > 0) {
                std::string text = c->text;
                const std::size_t from = byte_offset(text, c->caret - 1);
                text.erase(from, byte_offset(text, c->caret) - from);
                c->text = std::move(text);
                --c->caret;
                changed = true;
            }
            break;
        case key::Delete:
            if (erase_selection(*c)) {
                changed = true;
            } else if (c->caret < count) {
                std::string text = c->text;
                const std::size_t from = byte_offset(text, c->caret);
                text.erase(from, byte_offset(text, c->caret + 1) - from);
                c->text = std::move(text);
                changed = true;
            }
            break;
        case key::Left: move_caret(std::max(0, c->caret - 1)); break;
        case key::Right: move_caret(std::min(count, c->caret + 1)); break;
        case key::Home: move_caret(0); break;
        case key::End: move_caret(count); break;
        default: return;
    }
    c->refresh();
    if (changed) call_handler(c->on_change);
}

void Host::on_text_input(const TextInput& e) {
    Form* f = find_form(e.form);
    Control* c = f && f->enabled ? focused_text_box(*f) : nullptr;
    if (!c) return;
    std::string text = e.utf8;
    const int count = char_count(c->text);
    c->caret = std::clamp(c->caret.get(), 0, count);
    // Typed text replaces the selection.
    const bool erased = !text.empty() && erase_selection(*c);
    if (c->max_length > 0) text.resize(byte_offset(text, std::max(0, c->max_length - char_count(c->text))));
    c->composition = std::string();
    c->refresh();
    if (text.empty()) {
        if (erased) call_handler(c->on_change);
        return;
    }
    std::string joined = c->text;
    joined.insert(byte_offset(joined, c->caret), text);
    c->text = std::move(joined);
    c->caret += char_count(text);
    call_handler(c->on_change);
}

void Host::on_text_editing(const TextEditing& e) {
    Form* f = find_form(e.form);
    Control* c = f && f->enabled ? focused_text_box(*f) : nullptr;
    if (!c) return;
    c->composition = e.utf8;
    c->refresh();
}

void Host::on_press(const PressControl& e) {
    Form* f = find_form(e.form);
    if (!f || !f->enabled) return;
    Control* c = f->find(e.control);
    if (!c || !c->usable()) return;
    activate(*f);
    f = find_form(e.form);
    c = f ? f->find(e.control) : nullptr;
    if (!c) return;
    take_focus(*f, *c);
    const MouseEvent centre{MouseButton::Left, c->width / 2, c->height / 2};
    call_handler(c->on_mouse_down, centre);
    f = find_form(e.form);
    c = f ? f->find(e.control) : nullptr;
    if (!c) return;
    call_handler(c->on_mouse_up, centre);
    if ((f = find_form(e.form))) complete_click(*f, e.control);
}

void Host::on_hover(const HoverControl& e) {
    Form* f = find_form(e.form);
    if (!f || !f->enabled) return;
    Control* c = f->find(e.control);
    if (c && c->usable()) call_handler(c->on_mouse_move, MouseEvent{MouseButton::Left, c->width / 2, c->height / 2});
}

}  // namespace dalvo::platform
