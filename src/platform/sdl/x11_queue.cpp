// The X connection looked at directly, where the program is built with Xlib.

#include "platform/sdl/x11_queue.h"

#include <SDL.h>

#ifdef DALVO_HAVE_X11
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
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

namespace {

bool x11_window(SDL_Window* window, SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE &&
           info.subsystem == SDL_SYSWM_X11;
}

}  // namespace

void set_window_role(SDL_Window* window, SDL_Window* owner) {
    SDL_SysWMinfo info, owner_info;
    if (!x11_window(window, info)) return;
    Display* display = info.info.x11.display;
    const Window w = info.info.x11.window;
    char name[] = "dalvo";
    XClassHint hint{name, name};
    XSetClassHint(display, w, &hint);
    // SDL marks a new window transient for the root window, which some desktops take
    // for a dialog without a taskbar entry.
    if (x11_window(owner, owner_info)) XSetTransientForHint(display, w, owner_info.info.x11.window);
    else XDeleteProperty(display, w, XInternAtom(display, "WM_TRANSIENT_FOR", False));
    XFlush(display);
}

#else

void X11Queue::attach(SDL_Window*) {}
bool X11Queue::surely_empty() const { return false; }
void set_window_role(SDL_Window*, SDL_Window*) {}

#endif

}  // namespace dalvo::platform
