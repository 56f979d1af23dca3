#pragma once
// The one map from the player's keys, wheel, middle button and pad to the player's
// controls, shared by every backend; and the controls' names, as a page or a script
// sends them.

#include <optional>
#include <string_view>

#include "platform/ui/input_event.h"

namespace dalvo::platform {

// The control an input stands for, if any. The input still reaches the game's own
// handlers when the control does not apply where it lands.
std::optional<PlayerControl> player_control(const InputEvent& event);

// Names: "skip", "auto", "hide", ... (see the table in player_control.cpp).
std::string_view control_name(PlayerControl control);
std::optional<PlayerControl> control_from_name(std::string_view name);

// Pad buttons by the names of the standard layout: "A", "B", "X", "Y", "LB", "RB",
// "Up", "Down", "Left", "Right", "Start", "Back".
std::string_view pad_button_name(PadButton button);
std::optional<PadButton> pad_button_from_name(std::string_view name);

}  // namespace dalvo::platform
