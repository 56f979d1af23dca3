#pragma once
// What the title screen and the name entry keep between their handlers.

#include <memory>

#include "platform/gfx/picture.h"

namespace dalvo {

struct TitleState {
    // The window load has finished: from then on the title waits for the player.
    bool loaded = false;
    // A title or name-entry handler is at work (a dissolve, a pause): nobody is waited for.
    int busy = 0;
    // The input method of the game window, as last switched.
    bool ime_open = false;
    // The pointer "select.cur" over the title's labels and the name-entry button.
    std::shared_ptr<const platform::Cursor> select_cursor;
};

}  // namespace dalvo
