#pragma once
// The menu bar strip above a window's client area, drawn in the classic desktop look.
// Only the real window shows it; the client area below it is the form's own picture.

#include <vector>

#include "platform/ui/form.h"
#include "platform/gfx/surface.h"

namespace dalvo::platform {

inline constexpr int kMenuBarHeight = 19;

// The captions' font: the desktop's menu font.
FontSpec menu_font();

struct MenuSlot {
    int left = 0;
    int width = 0;
};

// One slot per item of `menu`, left to right on a single row.
std::vector<MenuSlot> layout_menu(const std::vector<MenuItem>& menu);

// The item under x (a point inside the strip), or -1.
int menu_item_at(const std::vector<MenuSlot>& slots, int x);

// Draws the strip `width` wide into `out` at row `top`; `pressed` is the item held
// down by the mouse, `highlighted` the one the keyboard is on (-1 none). Disabled
// captions are greyed and embossed.
void draw_menu_bar(Surface& out, int top, int width, const std::vector<MenuItem>& menu,
                   const std::vector<MenuSlot>& slots, int pressed, int highlighted = -1);

}  // namespace dalvo::platform
