// The X connection looked at directly, where the program is built with Xlib.

#include "platform/sdl/x11_queue.h"

#include <SDL.h>

#ifdef DALVO_HAVE_X11
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>
#endif

namespace dalvo::platform {

#ifdef DALVO_HAVE_X11

void X11Queue::attach(SDL_Window* window) {
    if (fd_ >= 0 || window == nullptr) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
    display_ = info.info.x11.display;
    fd_ = ConnectionNumber(info.info.x11.display);
}

bool X11Queue::surely_empty() const {
    if (fd_ < 0) return false;
    if (XEventsQueued(static_cast<Display*>(display_), QueuedAlready) != 0) return false;
    pollfd socket{fd_, POLLIN, 0};
    return ::poll(&socket, 1, 0) == 0;
}

#else

void X11Queue::attach(SDL_Window*) {}
bool X11Queue::surely_empty() const { return false; }

#endif

}  // namespace dalvo::platform
