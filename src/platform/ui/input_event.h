#pragma once
// Input as the backends deliver it to the host, in the game window's terms.

#include <string>
#include <variant>

#include "platform/ui/form.h"

namespace dalvo::platform {

struct MouseDown { std::string form; int x, y; MouseButton button; };  // client coordinates
struct MouseUp { std::string form; int x, y; MouseButton button; };
struct MouseMove { std::string form; int x, y; };
struct KeyDown { std::string form; int key; };
struct TextInput { std::string form; std::string utf8; };       // committed input-method text
struct TextEditing { std::string form; std::string utf8; };     // composition being typed
struct MenuCommand { std::string form; std::string name; };
struct CloseRequest { std::string form; };
struct FocusLost { std::string form; };
// A named control is operated directly (the automation `press` and `hover`).
struct PressControl { std::string form; std::string control; };
struct HoverControl { std::string form; std::string control; };

using InputEvent = std::variant<MouseDown, MouseUp, MouseMove, KeyDown, TextInput, TextEditing,
                                MenuCommand, CloseRequest, FocusLost, PressControl, HoverControl>;

}  // namespace dalvo::platform
