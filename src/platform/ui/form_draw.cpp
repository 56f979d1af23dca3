// Composition of a form's client area in a plain classic desktop look.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/ui/form.h"
#include "platform/gfx/painter.h"

namespace dalvo::platform {

namespace {

constexpr Color kFace = Color{0xC0C0C0};
constexpr Color kShadow = Color{0x808080};
constexpr Color kDarkShadow = Color{0x000000};
constexpr Color kHighlight = Color{0xFFFFFF};


void outline(Painter& p, int x, int y, int w, int h, Color c) {
    if (w <= 0 || h <= 0) return;
    for (int i = 0; i < w; ++i) {
        p.plot(x + i, y, c);
        p.plot(x + i, y + h - 1, c);
    }
    for (int j = 0; j < h; ++j) {
        p.plot(x, y + j, c);
        p.plot(x + w - 1, y + j, c);
    }
}

// One ring of a 3D edge: top and left in `tl`, bottom and right in `br`.
void edge(Painter& p, int x, int y, int w, int h, Color tl, Color br) {
    if (w <= 0 || h <= 0) return;
    p.fill({x, y, w, 1}, tl);
    p.fill({x, y, 1, h}, tl);
    p.fill({x, y + h - 1, w, 1}, br);
    p.fill({x + w - 1, y, 1, h}, br);
}

void raised(Painter& p, int x, int y, int w, int h) {
    edge(p, x, y, w, h, kHighlight, kDarkShadow);
    edge(p, x + 1, y + 1, w - 2, h - 2, kFace, kShadow);
}

void sunken(Painter& p, int x, int y, int w, int h) {
    edge(p, x, y, w, h, kShadow, kHighlight);
    edge(p, x + 1, y + 1, w - 2, h - 2, kDarkShadow, kFace);
}

std::size_t char_len(const std::string& s, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
    return std::min(n, s.size() - i);
}

std::size_t byte_offset(const std::string& s, int chars) {
    std::size_t i = 0;
    for (int k = 0; k < chars && i < s.size(); ++k) i += char_len(s, i);
    return i;
}

// Caption text, greyed and etched when the control is disabled.
void caption_text(Painter& p, int x, int y, const std::string& text, const FontSpec& font, Color color,
                  bool enabled) {
    if (text.empty()) return;
    if (enabled) {
        p.text(x, y, text, font, color);
    } else {
        p.text(x + 1, y + 1, text, font, kHighlight);
        p.text(x, y, text, font, kShadow);
    }
}

// Splits a caption at line ends and wraps it to `width`, at a blank where one fits.
std::vector<std::string> wrap_lines(const std::string& caption, const FontSpec& font, int width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= caption.size()) {
        std::size_t end = caption.find('\n', start);
        if (end == std::string::npos) end = caption.size();
        std::string para = caption.substr(start, end - start);
        if (!para.empty() && para.back() == '\r') para.pop_back();
        while (!para.empty() && width > 0 && text_width(font, para) > width) {
            std::size_t cut = 0, last_blank = 0;
            for (std::size_t i = 0; i < para.size(); i += char_len(para, i)) {
                const std::size_t next = i + char_len(para, i);
                if (i > 0 && text_width(font, para.substr(0, next)) > width) break;
                if (para[i] == ' ') last_blank = i;
                cut = next;
            }
            if (last_blank > 0 && last_blank < cut) cut = last_blank;
            lines.push_back(para.substr(0, cut));
            while (cut < para.size() && para[cut] == ' ') ++cut;
            para.erase(0, cut);
        }
        lines.push_back(para);
        start = end + 1;
    }
    return lines;
}

void draw_label(Painter& p, const Control& c) {
    if (c.back_opaque) p.fill({0, 0, c.width, c.height}, c.back_color);
    const int line_height = text_height(c.font);
    int y = 0;
    for (const std::string& line : wrap_lines(c.caption, c.font, c.width)) {
        const int w = text_width(c.font, line);
        const int x = c.alignment == 1 ? c.width - w : c.alignment == 2 ? (c.width - w) / 2 : 0;
        caption_text(p, x, y, line, c.font, c.fore_color, c.enabled);
        y += line_height;
    }
}

void draw_button(Painter& p, const Control& c) {
    p.fill({0, 0, c.width, c.height}, c.back_color);
    raised(p, 0, 0, c.width, c.height);
    const int x = (c.width - text_width(c.font, c.caption)) / 2;
    const int y = (c.height - text_height(c.font)) / 2;
    caption_text(p, x, y, c.caption, c.font, c.fore_color, c.enabled);
    // Where Enter and Space go once the player tabbed here: a dotted frame inside.
    if (c.form.focus() == &c && c.form.keyboard_cues && c.enabled) {
        for (int i = 4; i < c.width - 4; i += 2) {
            p.plot(i, 4, kBlack);
            p.plot(i, c.height - 5, kBlack);
        }
        for (int j = 4; j < c.height - 4; j += 2) {
            p.plot(4, j, kBlack);
            p.plot(c.width - 5, j, kBlack);
        }
    }
}

void draw_check_box(Painter& p, const Control& c) {
    if (c.back_opaque) p.fill({0, 0, c.width, c.height}, c.back_color);
    constexpr int kBox = 13;
    const int by = (c.height - kBox) / 2;
    p.fill({2, by + 2, kBox - 4, kBox - 4}, c.enabled ? kHighlight : kFace);
    sunken(p, 0, by, kBox, kBox);
    if (c.value != 0) {
        static constexpr const char* kTick[] = {"......#", ".....##", "#...###", "##.###.",
                                                "#####..", ".###...", "..#...."};
        const Color ink = c.enabled ? kBlack : kShadow;
        for (int j = 0; j < 7; ++j)
            for (int i = 0; i < 7; ++i)
                if (kTick[j][i] == '#') p.plot(3 + i, by + 3 + j, ink);
    }
    const int ty = (c.height - text_height(c.font)) / 2;
    caption_text(p, kBox + 4, ty, c.caption, c.font, c.fore_color, c.enabled);
}

void draw_option_button(Painter& p, const Control& c) {
    if (c.back_opaque) p.fill({0, 0, c.width, c.height}, c.back_color);
    constexpr int kBox = 12;
    const int by = (c.height - kBox) / 2;
    for (int j = 0; j < kBox; ++j) {
        for (int i = 0; i < kBox; ++i) {
            const double d = std::hypot(i - 5.5, j - 5.5);
            const bool upper_left = i + j < kBox - 1;
            Color color;
            if (d > 6.0) continue;
            if (d > 5.0) color = upper_left ? kShadow : kHighlight;
            else if (d > 4.0) color = upper_left ? kDarkShadow : kFace;
            else if (c.value != 0 && d < 2.0) color = c.enabled ? kBlack : kShadow;
            else color = c.enabled ? kHighlight : kFace;
            p.plot(i, by + j, color);
        }
    }
    const int ty = (c.height - text_height(c.font)) / 2;
    caption_text(p, kBox + 4, ty, c.caption, c.font, c.fore_color, c.enabled);
}

void draw_frame(Painter& p, const Control& c) {
    if (c.back_opaque) p.fill({0, 0, c.width, c.height}, c.back_color);
    const int th = text_height(c.font);
    const int ey = th / 2;
    outline(p, 0, ey, c.width - 1, c.height - ey - 1, kShadow);
    outline(p, 1, ey + 1, c.width - 1, c.height - ey - 1, kHighlight);
    if (!c.caption->empty()) {
        p.fill({6, 0, text_width(c.font, c.caption) + 4, th}, c.back_color);
        caption_text(p, 8, 0, c.caption, c.font, c.fore_color, c.enabled);
    }
}

bool inside_shape(ShapeKind kind, double px, double py, double x0, double y0, double w, double h,
                  double radius) {
    if (w <= 0 || h <= 0 || px < x0 || py < y0 || px >= x0 + w || py >= y0 + h) return false;
    if (kind == ShapeKind::Oval) {
        const double dx = (px - (x0 + w / 2)) / (w / 2), dy = (py - (y0 + h / 2)) / (h / 2);
        return dx * dx + dy * dy <= 1.0;
    }
    if (kind == ShapeKind::RoundedRectangle && radius > 0) {
        const double cx = std::clamp(px, x0 + radius, x0 + w - radius);
        const double cy = std::clamp(py, y0 + radius, y0 + h - radius);
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius;
    }
    return true;
}

void draw_shape(Painter& p, const Control& c) {
    const int bw = c.border_width;
    const double radius = std::min(c.width, c.height) / 6.0;
    const double inner_radius = std::max(0.0, radius - bw);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            if (!inside_shape(c.shape, px, py, 0, 0, c.width, c.height, radius)) continue;
            const bool in_inner = inside_shape(c.shape, px, py, bw, bw, c.width - 2 * bw,
                                               c.height - 2 * bw, inner_radius);
            if (!in_inner) p.plot(x, y, c.border_color);
            else if (c.filled) p.plot(x, y, c.fill_color);
        }
    }
}

void draw_text_box(Painter& p, const Control& c) {
    p.fill({0, 0, c.width, c.height}, c.enabled ? c.back_color : kFace);
    const std::size_t at = byte_offset(c.text, c.caret);
    const std::string before = c.text->substr(0, at);
    const std::string shown = before + c.composition.get() + c.text->substr(at);
    const int th = text_height(c.font);
    const int ty = (c.height - th) / 2;
    const int caret_x = text_width(c.font, before + c.composition.get());
    // Scrolls so that the caret stays inside the field.
    const int room = c.width - 6;
    const int x0 = 3 - std::max(0, caret_x - room);
    caption_text(p, x0, ty, shown, c.font, c.fore_color, c.enabled);
    // The selection in the desktop's highlight: white text on navy.
    if (c.anchor >= 0 && c.anchor != c.caret && c.composition->empty()) {
        const int from = std::min<int>(c.anchor, c.caret), to = std::max<int>(c.anchor, c.caret);
        const std::size_t a = byte_offset(c.text, from), b = byte_offset(c.text, to);
        const int sx = x0 + text_width(c.font, c.text->substr(0, a));
        const std::string selected = c.text->substr(a, b - a);
        p.fill({sx, ty, text_width(c.font, selected), th}, Color{0x800000});
        caption_text(p, sx, ty, selected, c.font, kWhite, c.enabled);
    }
    if (!c.composition->empty()) {
        const int ux = x0 + text_width(c.font, before);
        p.fill({ux, ty + th - 1, text_width(c.font, c.composition), 1}, c.fore_color);
    }
    if (c.form.focus() == &c && c.enabled) p.fill({x0 + caret_x, ty, 1, th}, kBlack);
    sunken(p, 0, 0, c.width, c.height);
}

void draw_line(Painter& p, int x1, int y1, int x2, int y2, Color color) {
    const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        p.plot(x1, y1, color);
        if (x1 == x2 && y1 == y2) break;
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x1 += sx; }
        if (e2 <= dx) { err += dx; y1 += sy; }
    }
}

// Draws `c` in its parent's coordinates, which `p` has as its current ones.
void draw_control(const Control& c, Painter& p) {
    if (!c.visible) return;
    if (c.kind == ControlKind::Line) {
        for (int k = 0; k < std::max(1, c.border_width.get()); ++k)
            draw_line(p, c.x1 + k, c.y1, c.x2 + k, c.y2, c.border_color);
        return;
    }
    p.save();
    p.translate(c.left, c.top);
    p.clip_to({0, 0, c.width, c.height});
    if (!p.clip().empty()) {
        switch (c.kind) {
            case ControlKind::Picture: p.blit(0, 0, c.image); break;
            case ControlKind::Label: draw_label(p, c); break;
            case ControlKind::Button: draw_button(p, c); break;
            case ControlKind::CheckBox: draw_check_box(p, c); break;
            case ControlKind::OptionButton: draw_option_button(p, c); break;
            case ControlKind::Frame: draw_frame(p, c); break;
            case ControlKind::Shape: draw_shape(p, c); break;
            case ControlKind::TextBox: draw_text_box(p, c); break;
            case ControlKind::Line: break;
        }
        if (c.border_width > 0 && c.kind != ControlKind::Shape) {
            for (int k = 0; k < c.border_width; ++k)
                outline(p, k, k, c.width - 2 * k, c.height - 2 * k, c.border_color);
        }
        for (const auto& child : c.children) draw_control(*child, p);
    }
    p.restore();
}

// Every control is clipped to `clip` as to a parent, so that the pixels inside come out
// as a whole compose draws them.
void compose_clipped(const Form& form, Surface& out, const Rect& clip) {
    Painter p(out);
    p.clip_to(clip);
    if (form.image.width() < form.client_width || form.image.height() < form.client_height) {
        p.fill(clip, form.back_color);
    }
    p.blit(0, 0, form.image);
    for (const auto& c : form.controls) draw_control(*c, p);
}

}  // namespace

void compose(const Form& form, Surface& out) {
    if (out.width() != form.client_width || out.height() != form.client_height) {
        out = Surface(form.client_width, form.client_height);
    }
    compose_clipped(form, out, Rect{0, 0, form.client_width, form.client_height});
}

void compose(const Form& form, Surface& out, const Rect& area) {
    if (out.width() != form.client_width || out.height() != form.client_height) {
        compose(form, out);
        return;
    }
    const Rect clip = intersect(area, Rect{0, 0, form.client_width, form.client_height});
    if (!clip.empty()) compose_clipped(form, out, clip);
}

}  // namespace dalvo::platform
