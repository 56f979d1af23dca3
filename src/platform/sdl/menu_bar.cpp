#include "platform/sdl/menu_bar.h"

#include "platform/gfx/font.h"

namespace dalvo::platform {

namespace {

constexpr Color kFace = Color{0xC0C0C0};
constexpr Color kShadow = Color{0x808080};
constexpr Color kHighlight = Color{0xFFFFFF};
constexpr Color kSelection = rgb(0, 0, 0x80);  // the keyboard's caption, as the desktop marks a selection
constexpr int kStartX = 2;    // the bar's margin before the first caption
constexpr int kPadding = 7;   // space on each side of a caption

}  // namespace

FontSpec menu_font() {
    FontSpec f;
    f.name = "ＭＳ ゴシック";
    f.size = 9.0;
    return f;
}

std::vector<MenuSlot> layout_menu(const std::vector<MenuItem>& menu) {
    const FontSpec font = menu_font();
    std::vector<MenuSlot> slots;
    slots.reserve(menu.size());
    int x = kStartX;
    for (const MenuItem& item : menu) {
        const int w = text_width(font, item.caption()) + 2 * kPadding;
        slots.push_back({x, w});
        x += w;
    }
    return slots;
}

int menu_item_at(const std::vector<MenuSlot>& slots, int x) {
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (x >= slots[i].left && x < slots[i].left + slots[i].width) return static_cast<int>(i);
    }
    return -1;
}

void draw_menu_bar(Surface& out, int top, int width, const std::vector<MenuItem>& menu,
                   const std::vector<MenuSlot>& slots, int pressed, int highlighted) {
    out.fill_rect(0, top, width, kMenuBarHeight, kFace);
    const FontSpec font = menu_font();
    const int text_y = top + (kMenuBarHeight - text_height(font)) / 2;
    for (std::size_t i = 0; i < menu.size() && i < slots.size(); ++i) {
        const MenuItem& item = menu[i];
        const MenuSlot& slot = slots[i];
        int x = slot.left + kPadding;
        int y = text_y;
        if (static_cast<int>(i) == pressed && item.enabled()) {
            // The pressed caption sinks into the bar.
            out.draw_line(slot.left, top, slot.left + slot.width - 1, top, kShadow);
            out.draw_line(slot.left, top, slot.left, top + kMenuBarHeight - 2, kShadow);
            out.draw_line(slot.left, top + kMenuBarHeight - 1, slot.left + slot.width - 1,
                          top + kMenuBarHeight - 1, kHighlight);
            out.draw_line(slot.left + slot.width - 1, top, slot.left + slot.width - 1,
                          top + kMenuBarHeight - 1, kHighlight);
            ++x;
            ++y;
        }
        if (static_cast<int>(i) == highlighted) {
            out.fill_rect(slot.left, top + 1, slot.width, kMenuBarHeight - 2, kSelection);
            draw_text(out, x, y, item.caption(), font, item.enabled() ? kHighlight : kShadow);
        } else if (item.enabled()) {
            draw_text(out, x, y, item.caption(), font, kBlack);
        } else {
            draw_text(out, x + 1, y + 1, item.caption(), font, kHighlight);
            draw_text(out, x, y, item.caption(), font, kShadow);
        }
    }
}

}  // namespace dalvo::platform
