#include "platform/sdl/form_signature.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string_view>

namespace dalvo::platform {

namespace {

// One multiply per field: this runs at every yield over every control of every shown form.
class Hasher {
public:
    void add(std::uint64_t v) {
        h_ = (h_ ^ v) * 0x9E3779B97F4A7C15ULL;
        h_ ^= h_ >> 29;
    }
    void add(std::string_view s) { add(static_cast<std::uint64_t>(std::hash<std::string_view>{}(s))); }
    void add_int(int v) { add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(v))); }
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = 0xCBF29CE484222325ULL;
};

void add_font(Hasher& h, const FontSpec& f) {
    h.add(f.name);
    h.add(static_cast<std::uint64_t>(f.size * 100.0));
    h.add_int((f.bold ? 1 : 0) | (f.italic ? 2 : 0));
}

// Everything about one control that shows, its children aside.
void add_own(Hasher& h, const Control& c) {
    h.add_int(c.left);
    h.add_int(c.top);
    h.add_int(c.width);
    h.add_int(c.height);
    h.add_int((c.visible ? 1 : 0) | (c.enabled ? 2 : 0) | (c.back_opaque ? 4 : 0) |
              (c.filled ? 8 : 0) | (c.form.focus == &c ? 16 : 0));
    h.add(c.caption);
    h.add(c.back_color);
    h.add(c.fore_color);
    h.add(c.fill_color);
    h.add(c.border_color);
    h.add_int(c.border_width);
    h.add_int(static_cast<int>(c.shape));
    add_font(h, c.font);
    h.add_int(c.x1);
    h.add_int(c.y1);
    h.add_int(c.x2);
    h.add_int(c.y2);
    h.add_int(c.value);
    h.add(c.text);
    h.add_int(c.caret);
    h.add(c.composition);
    h.add(c.image.refresh_count());
    h.add_int(c.image.width());
    h.add_int(c.image.height());
    h.add(static_cast<std::uint64_t>(c.children.size()));
}

void add_control(Hasher& h, const Control& c) {
    add_own(h, c);
    for (const auto& child : c.children) add_control(h, *child);
}

// Where `c` draws, whose parent lies at (ox, oy) and shows within `clip`: as the
// compose clips it. A line is drawn from its ends, thickened to the right.
ClientRect place_of(const Control& c, const ClientRect& clip, int ox, int oy) {
    if (c.kind == ControlKind::Line) {
        const int thick = std::max(1, c.border_width);
        const int x0 = std::min(c.x1, c.x2), y0 = std::min(c.y1, c.y2);
        const int w = std::abs(c.x2 - c.x1) + thick, h = std::abs(c.y2 - c.y1) + 1;
        return intersect({ox + x0, oy + y0, w, h}, clip);
    }
    return intersect({ox + c.left, oy + c.top, c.width, c.height}, clip);
}

void add_counters(Hasher& h, const Control& c) {
    h.add(c.image.refresh_count());
    h.add(static_cast<std::uint64_t>(c.children.size()));
    for (const auto& child : c.children) add_counters(h, *child);
}

// The parts in drawing order; a hidden control and all below it have no place.
void collect(const Control& c, const ClientRect& clip, int ox, int oy, bool shown,
             std::vector<FormDamage::Part>& out) {
    shown = shown && c.visible;
    Hasher h;
    add_own(h, c);
    out.push_back({h.value(), shown ? place_of(c, clip, ox, oy) : ClientRect{}});
    // Children draw within their parent's visible part.
    const ClientRect inner = intersect({ox + c.left, oy + c.top, c.width, c.height}, clip);
    for (const auto& child : c.children) collect(*child, inner, ox + c.left, oy + c.top, shown, out);
}

// The form's own look, its controls aside.
void add_form_own(Hasher& h, const Form& form) {
    h.add_int(form.client_width);
    h.add_int(form.client_height);
    h.add(form.back_color);
    h.add(form.image.refresh_count());
    h.add_int(form.image.width());
    h.add_int(form.image.height());
    h.add(static_cast<std::uint64_t>(form.controls.size()));
}

}  // namespace

std::uint64_t form_counters(const Form& form) {
    Hasher h;
    h.add(form.generation);
    h.add(form.image.refresh_count());
    h.add(static_cast<std::uint64_t>(form.controls.size()));
    for (const auto& c : form.controls) add_counters(h, *c);
    h.add(static_cast<std::uint64_t>(form.menu.size()));
    return h.value();
}

std::uint64_t menu_signature(const Form& form) {
    Hasher h;
    h.add(static_cast<std::uint64_t>(form.menu.size()));
    for (const MenuItem& item : form.menu) {
        h.add(item.caption);
        h.add_int(item.enabled ? 1 : 0);
    }
    return h.value();
}

std::uint64_t form_signature(const Form& form) {
    Hasher h;
    h.add(form.generation);
    add_form_own(h, form);
    for (const auto& c : form.controls) add_control(h, *c);
    h.add(menu_signature(form));
    return h.value();
}

ClientRect FormDamage::update(const Form& form) {
    const ClientRect all{0, 0, form.client_width, form.client_height};
    Hasher h;
    add_form_own(h, form);
    next_.clear();
    for (const auto& c : form.controls) collect(*c, all, 0, 0, true, next_);

    ClientRect damage;
    if (!looked_ || h.value() != form_look_ || next_.size() != parts_.size()) {
        damage = all;
    } else {
        for (std::size_t i = 0; i < next_.size(); ++i) {
            const Part& was = parts_[i];
            const Part& now = next_[i];
            if (was.look == now.look && was.place == now.place) continue;
            damage = bounding(damage, bounding(was.place, now.place));
        }
    }
    looked_ = true;
    form_look_ = h.value();
    parts_.swap(next_);
    return damage;
}

}  // namespace dalvo::platform
