#pragma once
// A message box drawn by the game itself in the classic desktop look, for desktops
// where the system's own box cannot be shown (no dialog tool, no core X fonts).

#include <string>
#include <vector>

#include "platform/gfx/surface.h"

namespace dalvo::platform {

struct MessageBoxLayout {
    int width = 0;
    int height = 0;
    int text_x = 0;
    int text_y = 0;
    int line_height = 0;
    std::vector<std::string> lines;
    struct Button {
        int x = 0, y = 0, w = 0, h = 0;
    };
    std::vector<Button> buttons;
};

MessageBoxLayout layout_message_box(const std::string& text, const std::vector<std::string>& captions);

// The button under (x, y), or -1.
int message_box_button_at(const MessageBoxLayout& layout, int x, int y);

// Draws the whole box; `focus` is the button with the heavy frame, `pressed` the one
// held down (-1 none).
void draw_message_box(Surface& out, const MessageBoxLayout& layout,
                      const std::vector<std::string>& captions, int focus, int pressed);

// Shows the box as a window of its own (scaled by `scale`) and waits until a button
// is chosen; the other windows get no input meanwhile. Returns the button's index,
// `escape` for the window's close box, or -1 when no window could be made.
int run_drawn_message_box(const std::string& title, const std::string& text,
                          const std::vector<std::string>& captions, int escape, int scale);

}  // namespace dalvo::platform
