#include "platform/gfx/painter.h"

#include "platform/gfx/font.h"

namespace dalvo::platform {

Painter::Painter(Surface& target) : target_(target), state_{{0, 0}, {0, 0, target.width(), target.height()}} {}

void Painter::restore() {
    if (stack_.empty()) return;
    state_ = stack_.back();
    stack_.pop_back();
}

void Painter::translate(int dx, int dy) {
    state_.origin.x += dx;
    state_.origin.y += dy;
}

void Painter::clip_to(const Rect& area) {
    state_.clip = intersect(state_.clip, area.translated(state_.origin.x, state_.origin.y));
}

void Painter::fill(const Rect& area, Color c) {
    const Rect r = intersect(state_.clip, area.translated(state_.origin.x, state_.origin.y));
    if (!r.empty()) target_.fill_rect(r.x, r.y, r.w, r.h, c);
}

void Painter::plot(int x, int y, Color c) {
    const Point p{x + state_.origin.x, y + state_.origin.y};
    if (state_.clip.contains(p)) target_.row(p.y)[p.x] = to_pixel(c);
}

void Painter::text(int x, int y, const std::string& utf8, const FontSpec& font, Color c) {
    if (state_.clip.empty()) return;  // an empty clip would mean the whole surface to draw_text
    draw_text(target_, x + state_.origin.x, y + state_.origin.y, utf8, font, c, state_.clip);
}

void Painter::blit(int x, int y, const Surface& src) {
    const Rect at{x + state_.origin.x, y + state_.origin.y, src.width(), src.height()};
    const Rect r = intersect(state_.clip, at);
    if (!r.empty()) bit_blt(target_, r.x, r.y, r.w, r.h, src, r.x - at.x, r.y - at.y, Rop::SrcCopy);
}

}  // namespace dalvo::platform
