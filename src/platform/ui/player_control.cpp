// Which key, wheel turn or pad button stands for which of the player's controls.

#include "platform/ui/player_control.h"

#include <utility>

namespace dalvo::platform {

namespace {

constexpr int kCtrl = 17, kPageUp = 33, kPageDown = 34, kNumPad1 = 97;

constexpr std::pair<PlayerControl, std::string_view> kControlNames[] = {
    {PlayerControl::Advance, "advance"},      {PlayerControl::SkipHold, "skip_hold"},
    {PlayerControl::SkipRelease, "skip_release"}, {PlayerControl::SkipToggle, "skip"},
    {PlayerControl::Back, "back"},            {PlayerControl::Forward, "forward"},
    {PlayerControl::History, "history"},      {PlayerControl::ChoicePrev, "choice_prev"},
    {PlayerControl::ChoiceNext, "choice_next"}, {PlayerControl::Choice1, "choice_1"},
    {PlayerControl::Choice2, "choice_2"},     {PlayerControl::Choice3, "choice_3"},
    {PlayerControl::HideWindow, "hide"},      {PlayerControl::AutoToggle, "auto"},
    {PlayerControl::Screenshot, "screenshot"}, {PlayerControl::Fullscreen, "fullscreen"},
    {PlayerControl::Help, "help"},
};

constexpr std::pair<PadButton, std::string_view> kPadNames[] = {
    {PadButton::A, "A"},       {PadButton::B, "B"},        {PadButton::X, "X"},
    {PadButton::Y, "Y"},       {PadButton::LeftShoulder, "LB"}, {PadButton::RightShoulder, "RB"},
    {PadButton::Up, "Up"},     {PadButton::Down, "Down"},  {PadButton::Left, "Left"},
    {PadButton::Right, "Right"}, {PadButton::Start, "Start"}, {PadButton::Back, "Back"},
};

std::optional<PlayerControl> for_key(const KeyDown& e) {
    if (e.key == key::Enter && (e.mods & mod::Alt) != 0) return PlayerControl::Fullscreen;
    // A key held with Ctrl or Alt is a shortcut of someone else's (the desktop's, the
    // menu's), not one of ours.
    const bool plain = (e.mods & (mod::Ctrl | mod::Alt)) == 0;
    switch (e.key) {
        case kCtrl: return PlayerControl::SkipHold;
        case key::F1 + 10: return PlayerControl::Fullscreen;
        case key::F1 + 11: return PlayerControl::Screenshot;
        case key::F1: return PlayerControl::Help;
        default: break;
    }
    if (!plain) return std::nullopt;
    switch (e.key) {
        case key::Tab: return PlayerControl::SkipToggle;
        case kPageUp: return PlayerControl::Back;
        case kPageDown: return PlayerControl::Forward;
        case key::Up: return PlayerControl::ChoicePrev;
        case key::Down: return PlayerControl::ChoiceNext;
        case key::Enter: return PlayerControl::Advance;
        case '1': case kNumPad1: return PlayerControl::Choice1;
        case '2': case kNumPad1 + 1: return PlayerControl::Choice2;
        case '3': case kNumPad1 + 2: return PlayerControl::Choice3;
        case 'H': return PlayerControl::HideWindow;
        case 'A': return PlayerControl::AutoToggle;
        default: return std::nullopt;
    }
}

std::optional<PlayerControl> for_pad(const PadPress& e) {
    if (e.button == PadButton::RightShoulder) return e.down ? PlayerControl::SkipHold : PlayerControl::SkipRelease;
    if (!e.down) return std::nullopt;
    switch (e.button) {
        case PadButton::A: return PlayerControl::Advance;
        case PadButton::B: return PlayerControl::History;
        case PadButton::X: return PlayerControl::HideWindow;
        case PadButton::Y: return PlayerControl::AutoToggle;
        case PadButton::Up: return PlayerControl::ChoicePrev;
        case PadButton::Down: return PlayerControl::ChoiceNext;
        default: return std::nullopt;
    }
}

}  // namespace

std::optional<PlayerControl> player_control(const InputEvent& event) {
    if (const auto* k = std::get_if<KeyDown>(&event)) return for_key(*k);
    if (const auto* k = std::get_if<KeyUp>(&event)) {
        if (k->key == kCtrl) return PlayerControl::SkipRelease;
        return std::nullopt;
    }
    if (const auto* m = std::get_if<MouseDown>(&event)) {
        if (m->button == MouseButton::Middle) return PlayerControl::HideWindow;
        return std::nullopt;
    }
    if (const auto* w = std::get_if<Wheel>(&event)) {
        if (w->dy == 0) return std::nullopt;
        return w->dy > 0 ? PlayerControl::Back : PlayerControl::Forward;
    }
    if (const auto* p = std::get_if<PadPress>(&event)) return for_pad(*p);
    if (const auto* c = std::get_if<ControlInput>(&event)) return c->control;
    return std::nullopt;
}

std::string_view control_name(PlayerControl control) {
    for (const auto& [c, name] : kControlNames) {
        if (c == control) return name;
    }
    return {};
}

std::optional<PlayerControl> control_from_name(std::string_view name) {
    for (const auto& [c, n] : kControlNames) {
        if (n == name) return c;
    }
    return std::nullopt;
}

std::string_view pad_button_name(PadButton button) {
    for (const auto& [b, name] : kPadNames) {
        if (b == button) return name;
    }
    return {};
}

std::optional<PadButton> pad_button_from_name(std::string_view name) {
    for (const auto& [b, n] : kPadNames) {
        if (n == name) return b;
    }
    return std::nullopt;
}

}  // namespace dalvo::platform
