#pragma once
// The menu bar walked without the mouse, as classic desktop menus are: F10, a lone Alt
// or the pad's Start opens it on its first caption; the arrows (the D-pad) move over
// the captions; Enter, Space or A picks; Escape, B or the opening key again closes it.
// While it is open the game hears none of the presses.

#include <string>

#include "platform/ui/input_event.h"

namespace dalvo::platform {

class MenuKeys {
public:
    struct Outcome {
        bool taken = false;  // the input goes no further
        std::string pick;    // a menu command to carry out, as a click on it would
    };
    // `form` is the form the input is for (null: none open).
    Outcome handle(Form* form, const InputEvent& event);

private:
    bool alt_alone_ = false;  // Alt went down and nothing else since
};

}  // namespace dalvo::platform
