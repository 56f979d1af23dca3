#pragma once
// Input as the backends deliver it to the host, in the game window's terms.

#include <string>
#include <variant>

#include "platform/ui/form.h"

namespace dalvo::platform {

struct MouseDown { std::string form; int x, y; MouseButton button; };  // client coordinates
struct MouseUp { std::string form; int x, y; MouseButton button; };
struct MouseMove { std::string form; int x, y; };
// Modifier keys held with a key.
namespace mod {
inline constexpr int Shift = 1, Ctrl = 2, Alt = 4;
}  // namespace mod

struct KeyDown { std::string form; int key; int mods = 0; };
struct KeyUp { std::string form; int key; };
struct TextInput { std::string form; std::string utf8; };       // committed input-method text
struct TextEditing { std::string form; std::string utf8; };     // composition being typed
struct MenuCommand { std::string form; std::string name; };
struct CloseRequest { std::string form; };
struct FocusLost { std::string form; };
// A named control is operated directly (the automation `press` and `hover`).
struct PressControl { std::string form; std::string control; };
struct HoverControl { std::string form; std::string control; };
// The mouse wheel: `dy` > 0 turned away from the player (up), < 0 towards.
struct Wheel { std::string form; int dy; };
// A game pad's button (see player_control.h for the buttons).
enum class PadButton { A, B, X, Y, LeftShoulder, RightShoulder, Up, Down, Left, Right, Start, Back };
struct PadPress { std::string form; PadButton button; bool down; };
// The player's controls beside the clicks and keys of the game itself. Keys, the
// wheel, the middle button and the pad map to them in one place (player_control.h);
// a page's toolbar or gestures send them by name.
enum class PlayerControl {
    Advance,     // a click: goes on, picks the highlighted option, shows a hidden window
    SkipHold,    // skipping while held...
    SkipRelease, // ...and back to reading
    SkipToggle,  // skipping on or off
    Back,        // the history opens
    Forward,     // the history closes, or the message goes on
    History,     // the history opens or closes, as a right click does
    ChoicePrev,  // the highlight moves over the options
    ChoiceNext,
    Choice1,
    Choice2,
    Choice3,
    HideWindow,  // the message window hides until the next click or key
    AutoToggle,  // auto mode on or off
    Screenshot,  // the screen into the player's pictures
    Fullscreen,  // fullscreen on or off
    Help,        // the controls and the settings
};
struct ControlInput { std::string form; PlayerControl control; };

using InputEvent = std::variant<MouseDown, MouseUp, MouseMove, KeyDown, TextInput, TextEditing,
                                MenuCommand, CloseRequest, FocusLost, PressControl, HoverControl,
                                KeyUp, Wheel, PadPress, ControlInput>;

}  // namespace dalvo::platform
