#include "platform/sdl/form_signature.h"

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

void add_control(Hasher& h, const Control& c) {
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
    for (const auto& child : c.children) add_control(h, *child);
}

void add_counters(Hasher& h, const Control& c) {
    h.add(c.image.refresh_count());
    h.add(static_cast<std::uint64_t>(c.children.size()));
    for (const auto& child : c.children) add_counters(h, *child);
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

std::uint64_t form_signature(const Form& form) {
    Hasher h;
    h.add(form.generation);
    h.add_int(form.client_width);
    h.add_int(form.client_height);
    h.add(form.back_color);
    h.add(form.image.refresh_count());
    h.add(static_cast<std::uint64_t>(form.controls.size()));
    for (const auto& c : form.controls) add_control(h, *c);
    h.add(static_cast<std::uint64_t>(form.menu.size()));
    for (const MenuItem& item : form.menu) {
        h.add(item.caption);
        h.add_int(item.enabled ? 1 : 0);
    }
    return h.value();
}

}  // namespace dalvo::platform
