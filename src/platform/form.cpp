#include "platform/form.h"

#include <algorithm>

namespace dalvo::platform {

namespace {

Control* find_in(const std::vector<std::unique_ptr<Control>>& list, std::string_view name) {
    for (const auto& c : list) {
        if (c->name == name) return c.get();
        if (Control* found = find_in(c->children, name)) return found;
    }
    return nullptr;
}

// Shapes and lines are drawn decorations: clicks pass through them to what lies below.
bool takes_mouse(const Control& c) {
    return c.kind != ControlKind::Shape && c.kind != ControlKind::Line;
}

// (x, y) relative to the list's container.
Control* hit_in(const std::vector<std::unique_ptr<Control>>& list, int x, int y) {
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        Control& c = **it;
        if (!c.visible || !c.enabled || !takes_mouse(c)) continue;
        if (x < c.left || y < c.top || x >= c.left + c.width || y >= c.top + c.height) continue;
        if (Control* child = hit_in(c.children, x - c.left, y - c.top)) return child;
        return &c;
    }
    return nullptr;
}

}  // namespace

Control::Control(Form& owner, Control* parent_control, std::string control_name, ControlKind control_kind)
    : name(std::move(control_name)), kind(control_kind), form(owner), parent(parent_control) {
    if (kind == ControlKind::TextBox) {
        back_color = kWhite;
        tab_index = 0;
    }
}

Control& Control::add(std::string child_name, ControlKind child_kind) {
    children.push_back(std::make_unique<Control>(form, this, std::move(child_name), child_kind));
    return *children.back();
}

void Control::move(int new_left, int new_top, int new_width, int new_height) {
    left = new_left;
    top = new_top;
    width = std::max(0, new_width);
    height = std::max(0, new_height);
    // A picture's persistent image follows its size and keeps what was drawn in it.
    if (kind == ControlKind::Picture && (image.width() != width || image.height() != height)) {
        image.resize(width, height);
    }
    ++form.generation;
}

void Control::refresh() {
    image.refresh();
    ++form.generation;
}

int Control::absolute_left() const { return left + (parent ? parent->absolute_left() : 0); }
int Control::absolute_top() const { return top + (parent ? parent->absolute_top() : 0); }

bool Control::shown() const { return visible && (!parent || parent->shown()); }

bool Control::usable() const { return visible && enabled && (!parent || parent->usable()); }

Control* Control::find(std::string_view wanted) { return find_in(children, wanted); }

Form::Form(std::string form_name, std::string form_caption, int width, int height)
    : name(std::move(form_name)), caption(std::move(form_caption)), client_width(width),
      client_height(height) {
    image.back_color = back_color;
    image.resize(width, height);  // every new pixel takes the background colour
}

Control& Form::add(std::string control_name, ControlKind kind) {
    controls.push_back(std::make_unique<Control>(*this, nullptr, std::move(control_name), kind));
    return *controls.back();
}

Control* Form::find(std::string_view wanted) { return find_in(controls, wanted); }
const Control* Form::find(std::string_view wanted) const { return find_in(controls, wanted); }

Control* Form::hit_test(int x, int y) {
    if (x < 0 || y < 0 || x >= client_width || y >= client_height) return nullptr;
    return hit_in(controls, x, y);
}

MenuItem* Form::menu_item(std::string_view item_name) {
    for (MenuItem& item : menu) {
        if (item.name == item_name) return &item;
    }
    return nullptr;
}

ClientRect intersect(const ClientRect& a, const ClientRect& b) {
    const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
    if (x1 <= x0 || y1 <= y0) return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

ClientRect bounding(const ClientRect& a, const ClientRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
    return {x0, y0, x1 - x0, y1 - y0};
}

void Form::set_client_size(int width, int height) {
    client_width = width;
    client_height = height;
    image.resize(width, height);
    ++generation;
}

}  // namespace dalvo::platform
