#pragma once
// The X connection looked at directly. Whether the X server has sent the program anything yet unread, found without reading:
// one look at the connection instead of the four reads SDL's event pump makes.

struct SDL_Window;

namespace dalvo::platform {

class X11Queue {
public:
    // Takes the display connection of `window` when it is an X11 window.
    void attach(SDL_Window* window);
    // True only when the connection is known and neither the socket nor Xlib's own
    // queue holds an event; false whenever there may be one.
    bool surely_empty() const;

private:
    void* display_ = nullptr;
    int fd_ = -1;
};

// Tells the window manager what `window` is before it is shown: of the class "dalvo",
// and a dialog of `owner` when given, else a main window (transient for nothing).
void set_window_role(SDL_Window* window, SDL_Window* owner);

}  // namespace dalvo::platform
