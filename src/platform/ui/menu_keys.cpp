#include "platform/ui/menu_keys.h"

#include <utility>

namespace dalvo::platform {

namespace {

constexpr int kAlt = 18, kF10 = key::F1 + 9;

enum class Step { None, Prev, Next, Pick, Close, Eat };

Step step_of_key(int key) {
    switch (key) {
        case key::Left:
        case key::Up: return Step::Prev;
        case key::Right:
        case key::Down: return Step::Next;
        case key::Enter:
        case key::Space: return Step::Pick;
        case key::Escape:
        case kF10: return Step::Close;
        default: return Step::Eat;
    }
}

Step step_of_pad(PadButton button) {
    switch (button) {
        case PadButton::Left:
        case PadButton::Up: return Step::Prev;
        case PadButton::Right:
        case PadButton::Down: return Step::Next;
        case PadButton::A: return Step::Pick;
        case PadButton::B:
        case PadButton::Start: return Step::Close;
        default: return Step::Eat;
    }
}

// What an input does to the open menu. Releases, moves and the window's own events go
// on as usual: a release ends a hold that began before the menu opened.
Step step_when_open(const InputEvent& e, bool alt_up_alone) {
    if (const auto* k = std::get_if<KeyDown>(&e)) return step_of_key(k->key);
    if (const auto* p = std::get_if<PadPress>(&e)) return p->down ? step_of_pad(p->button) : Step::None;
    if (std::holds_alternative<KeyUp>(e)) return alt_up_alone ? Step::Close : Step::None;
    if (std::holds_alternative<MouseDown>(e)) return Step::Close;
    if (std::holds_alternative<Wheel>(e) || std::holds_alternative<TextInput>(e) ||
        std::holds_alternative<TextEditing>(e) || std::holds_alternative<ControlInput>(e))
        return Step::Eat;
    return Step::None;
}

bool opens(const InputEvent& e, bool alt_up_alone) {
    if (const auto* k = std::get_if<KeyDown>(&e)) return k->key == kF10 && (k->mods & (mod::Ctrl | mod::Alt)) == 0;
    if (const auto* p = std::get_if<PadPress>(&e)) return p->down && p->button == PadButton::Start;
    return alt_up_alone;
}

}  // namespace

MenuKeys::Outcome MenuKeys::handle(Form* form, const InputEvent& event) {
    bool alt_up_alone = false;
    if (const auto* k = std::get_if<KeyDown>(&event)) {
        alt_alone_ = k->key == kAlt;
    } else if (const auto* u = std::get_if<KeyUp>(&event)) {
        if (u->key == kAlt) alt_up_alone = std::exchange(alt_alone_, false);
    } else if (!std::holds_alternative<MouseMove>(event) && !std::holds_alternative<MouseUp>(event)) {
        alt_alone_ = false;
    }
    if (form == nullptr) return {};
    const int count = static_cast<int>(form->menu.size());
    const int at = form->menu_highlight();
    if (!form->enabled || count == 0) {
        // A dialog came up over the open menu: the menu goes.
        if (at >= 0) form->set_menu_highlight(-1);
        return {};
    }
    if (at < 0) {
        if (!opens(event, alt_up_alone)) return {};
        form->set_menu_highlight(0);
        return {true, {}};
    }
    switch (step_when_open(event, alt_up_alone)) {
        case Step::None:
            // A command chosen by the mouse, a closed window, a lost focus: the menu goes.
            if (std::holds_alternative<MenuCommand>(event) || std::holds_alternative<CloseRequest>(event) ||
                std::holds_alternative<FocusLost>(event) || std::holds_alternative<PressControl>(event))
                form->set_menu_highlight(-1);
            return {};
        case Step::Prev: form->set_menu_highlight((at + count - 1) % count); return {true, {}};
        case Step::Next: form->set_menu_highlight((at + 1) % count); return {true, {}};
        case Step::Pick: {
            const MenuItem& item = form->menu[static_cast<std::size_t>(at)];
            // A disabled caption does nothing, as a click on it does; the menu stays open.
            if (!item.enabled()) return {true, {}};
            form->set_menu_highlight(-1);
            return {true, item.name};
        }
        case Step::Close: form->set_menu_highlight(-1); return {true, {}};
        case Step::Eat: return {true, {}};
    }
    return {};
}

}  // namespace dalvo::platform
