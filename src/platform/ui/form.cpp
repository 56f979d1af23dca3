#include "platform/ui/form.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

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
    image.set_listener(this);
}

Control& Control::add(std::string child_name, ControlKind child_kind) {
    children.push_back(std::make_unique<Control>(form, this, std::move(child_name), child_kind));
    return *children.back();
}

void Control::move(int new_left, int new_top, int new_width, int new_height) {
    new_width = std::max(0, new_width);
    new_height = std::max(0, new_height);
    if (new_left == left && new_top == top && new_width == width && new_height == height) return;
    invalidate();
    left.value_ = new_left;
    top.value_ = new_top;
    width.value_ = new_width;
    height.value_ = new_height;
    // A picture's persistent image follows its size and keeps what was drawn in it.
    if (kind == ControlKind::Picture && (image.width() != width || image.height() != height)) {
        image.resize(width, height);
    }
    invalidate();
}

Rect Control::place() const {
    if (!visible) return {};
    // Children draw within their parent's visible part.
    Rect clip{0, 0, form.client_width, form.client_height};
    int ox = 0, oy = 0;
    if (parent != nullptr) {
        clip = parent->place();
        if (clip.empty()) return {};
        ox = parent->absolute_left();
        oy = parent->absolute_top();
    }
    if (kind == ControlKind::Line) {
        // Drawn from its ends, thickened to the right.
        const int thick = std::max(1, border_width.get());
        const int x0 = std::min(x1, x2), y0 = std::min(y1, y2);
        const int w = std::abs(x2 - x1) + thick, h = std::abs(y2 - y1) + 1;
        return intersect({ox + x0, oy + y0, w, h}, clip);
    }
    return intersect({ox + left, oy + top, width, height}, clip);
}

void Control::invalidate() { form.invalidate(place()); }

void Control::refresh() {
    invalidate();
    if (work_surface) return;
    // A control that has just been hidden shows what lies beneath; a work surface
    // inside a hidden container shows nothing.
    if (!parent || parent->shown()) form.present_now();
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
    image.set_listener(this);
    invalidate();
}

Control& Form::add(std::string control_name, ControlKind kind) {
    controls.push_back(std::make_unique<Control>(*this, nullptr, std::move(control_name), kind));
    controls.back()->invalidate();
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

void Form::set_menu_caption(std::string_view item_name, std::string text) {
    MenuItem* item = menu_item(item_name);
    if (item == nullptr || item->caption_ == text) return;
    item->caption_ = std::move(text);
    menu_changed_ = true;
}

void Form::set_menu_enabled(std::string_view item_name, bool on) {
    MenuItem* item = menu_item(item_name);
    if (item == nullptr || item->enabled_ == on) return;
    item->enabled_ = on;
    menu_changed_ = true;
}

void Form::set_menu_highlight(int index) {
    if (index == menu_highlight_) return;
    menu_highlight_ = index;
    menu_changed_ = true;
}

bool Form::take_menu_change() { return std::exchange(menu_changed_, false); }

void Form::set_focus(Control* control) {
    if (control == focus_) return;
    if (focus_ != nullptr) focus_->invalidate();
    focus_ = control;
    if (focus_ != nullptr) focus_->invalidate();
}

void Form::invalidate(const Rect& area) {
    damage_.add(intersect(area, {0, 0, client_width, client_height}));
}

void Form::invalidate() { invalidate({0, 0, client_width, client_height}); }

Damage Form::take_damage() { return std::exchange(damage_, Damage{}); }

void Form::present_now() {
    if (presenter_ != nullptr && !damage_.empty()) presenter_->present(*this);
}

void Form::surface_refreshed() {
    invalidate();
    present_now();
}

void Form::set_client_size(int width, int height) {
    if (width == client_width && height == client_height) return;
    client_width = width;
    client_height = height;
    image.resize(width, height);
    invalidate();
}

}  // namespace dalvo::platform
