#pragma once
// Forms and their controls: the game window and the dialogs as trees of named
// controls. The game logic builds them and handles their events; the platform
// realises them (a window per open form, or pixels only when headless).

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/gfx/damage.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/picture.h"
#include "platform/gfx/surface.h"

namespace dalvo::platform {

enum class ControlKind {
    Picture,       // a picture surface with a persistent image
    Label,         // caption text; transparent or filled background
    Button,        // push button with a caption
    CheckBox,      // caption and a tick box; `value` 1 ticked
    OptionButton,  // caption and a round box; one of a group (same parent) is set
    Frame,         // a group box with a caption; contains other controls
    Shape,         // rectangle or rounded rectangle, border and optional fill
    Line,          // from (x1, y1) to (x2, y2) of its parent
    TextBox,       // one line of editable text
};

enum class ShapeKind { Rectangle, RoundedRectangle, Oval };

// Key codes as the original window system numbered them.
namespace key {
inline constexpr int Backspace = 8, Tab = 9, Enter = 13, Escape = 27, Space = 32;
inline constexpr int Left = 37, Up = 38, Right = 39, Down = 40;
inline constexpr int F1 = 112;  // F1..F12 = 112..123; letters 'A'..'Z', digits '0'..'9'
inline constexpr int Home = 36, End = 35, Delete = 46;
}  // namespace key

enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

struct MouseEvent {
    MouseButton button = MouseButton::Left;
    int x = 0;  // relative to the control
    int y = 0;
};

class Form;

// Something on a form whose place is drawn again when one of its properties changes.
class Visual {
public:
    // Adds where it shows now to its form's damage.
    virtual void invalidate() = 0;

protected:
    ~Visual() = default;
};

// A property that shows on the screen. Setting it to a new value damages its owner's
// place as it was and as it is, so the next present draws both: no code has to
// remember to tell the screen, and nothing has to guess what changed.
template <class T>
class Property {
public:
    explicit Property(Visual& owner, T value = T{}) : owner_(&owner), value_(std::move(value)) {}
    Property(const Property&) = delete;
    Property& operator=(const Property& other) { return *this = other.value_; }
    Property& operator=(T value) {
        if (value == value_) return *this;
        owner_->invalidate();
        value_ = std::move(value);
        owner_->invalidate();
        return *this;
    }

    template <class U>
    Property& operator+=(const U& more) {
        T next = value_;
        next += more;
        return *this = std::move(next);
    }
    template <class U>
    Property& operator-=(const U& less) {
        T next = value_;
        next -= less;
        return *this = std::move(next);
    }
    Property& operator++() { return *this += 1; }
    Property& operator--() { return *this -= 1; }

    operator const T&() const { return value_; }
    const T& get() const { return value_; }
    const T* operator->() const { return &value_; }

    friend bool operator==(const Property& a, const Property& b) { return a.value_ == b.value_; }
    friend bool operator==(const Property& a, const T& b) { return a.value_ == b; }

private:
    friend class Control;
    Visual* owner_;
    T value_;
};

class Control final : public Visual, private RefreshListener {
public:
    Control(Form& form, Control* parent, std::string name, ControlKind kind);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Adds a child on top of the existing ones (children are kept bottom to top).
    Control& add(std::string name, ControlKind kind);

    // Position and size relative to the parent (or to the form's client area).
    void move(int left, int top, int width, int height);
    void move(int left, int top) { move(left, top, width, height); }

    // Puts the control's pixels on the screen now when its form is shown: the
    // original's synchronous repaint. Refreshing its image does the same.
    void refresh();

    // Where the control draws in its form's client area, clipped by its parents;
    // empty when it is not shown.
    Rect place() const;
    void invalidate() override;

    const std::string name;
    const ControlKind kind;
    Form& form;
    Control* const parent;
    std::vector<std::unique_ptr<Control>> children;

    Property<int> left{*this}, top{*this}, width{*this}, height{*this};
    Property<bool> visible{*this, true};
    Property<bool> enabled{*this, true};
    Property<std::string> caption{*this};
    Property<int> alignment{*this};  // Label caption: 0 left, 1 right, 2 centre
    Property<Color> back_color{*this, Color(0xC0C0C0)};
    Property<Color> fore_color{*this, kBlack};
    Property<bool> back_opaque{*this, true};  // labels: false lets the parent show through
    Property<FontSpec> font{*this};
    Property<int> border_width{*this};  // pixels of a plain border in `border_color`; 0 none
    Property<Color> border_color{*this, kBlack};

    // Picture: the persistent image, always width x height. Also what a Picture shows.
    Surface image;

    // Shape
    Property<ShapeKind> shape{*this, ShapeKind::Rectangle};
    Property<bool> filled{*this};
    Property<Color> fill_color{*this, kBlack};
    // Line
    Property<int> x1{*this}, y1{*this}, x2{*this}, y2{*this};
    // CheckBox (0 or 1), OptionButton (0 or 1)
    Property<int> value{*this};
    // TextBox: committed text, caret (in characters), the composition being typed.
    Property<std::string> text{*this};
    Property<int> caret{*this};
    Property<std::string> composition{*this};
    // The other end of the selection (in characters), the caret being one; -1 when none.
    Property<int> anchor{*this, -1};
    int max_length = 0;  // 0: no limit

    // Never on the screen (a picture the stage only draws from): its refresh shows
    // nothing, not even what else waits to be shown.
    bool work_surface = false;
    // Focus order among the form's controls (-1: never takes focus).
    int tab_index = -1;
    // Pointer shown over the control; none means the form's or the default.
    std::shared_ptr<const Cursor> cursor;

    std::function<void(const MouseEvent&)> on_mouse_down;
    std::function<void(const MouseEvent&)> on_mouse_up;
    std::function<void(const MouseEvent&)> on_mouse_move;
    std::function<void()> on_click;  // a left click completed (buttons, labels, boxes)
    std::function<void(int key)> on_key_down;
    std::function<void()> on_change;  // TextBox text or CheckBox/OptionButton value changed

    // Position of the control's top-left corner in the form's client area.
    int absolute_left() const;
    int absolute_top() const;
    // Visible itself and through all its parents.
    bool shown() const;
    // Shown and enabled through all its parents: what a player can operate.
    bool usable() const;

    Control* find(std::string_view name);

private:
    void surface_refreshed() override { refresh(); }
};

class MenuItem {
public:
    MenuItem(std::string name, std::string caption, bool enabled = true, std::function<void()> on_click = {})
        : name(std::move(name)), on_click(std::move(on_click)), caption_(std::move(caption)), enabled_(enabled) {}

    std::string name;  // e.g. "prog_save"
    std::function<void()> on_click;
    // What the menu bar shows; changed through the form, which redraws the bar.
    const std::string& caption() const { return caption_; }
    bool enabled() const { return enabled_; }

private:
    friend class Form;
    std::string caption_;
    bool enabled_ = true;
};

// Puts a shown form's damaged pixels on the screen: the host, while the form is shown.
class FormPresenter {
public:
    virtual void present(Form& form) = 0;

protected:
    ~FormPresenter() = default;
};

class Form final : public Visual, private RefreshListener {
public:
    Form(std::string name, std::string caption, int client_width, int client_height);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Adds a top-level control on top of the existing ones.
    Control& add(std::string name, ControlKind kind);

    // Finds a control by its name ("Pic_Main", "TxtFrame1(1)", "SelTxt(2)"), at any depth.
    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;

    // The topmost shown control under the client point (x, y), descending into
    // children; nullptr over the bare form.
    Control* hit_test(int x, int y);

    MenuItem* menu_item(std::string_view name);
    void set_menu_caption(std::string_view name, std::string caption);
    void set_menu_enabled(std::string_view name, bool enabled);
    // Whether the menu bar changed since the last call.
    bool take_menu_change();
    // The caption the keyboard highlights while the menu bar is open; -1: closed.
    int menu_highlight() const { return menu_highlight_; }
    void set_menu_highlight(int index);

    // Sets the client size (the window's outer size follows).
    void set_client_size(int width, int height);

    const std::string name;
    std::string caption;
    int client_width;
    int client_height;
    int left = 0, top = 0;  // window position on the desktop (screen pixels), if known
    bool enabled = true;
    bool topmost = false;
    Property<Color> back_color{*this, Color(0xC0C0C0)};
    // The form's own drawing surface (e.g. the wall behind the stage), client-sized.
    Surface image;
    std::vector<std::unique_ptr<Control>> controls;  // bottom to top
    std::vector<MenuItem> menu;                      // empty: no menu bar
    std::shared_ptr<const Cursor> cursor;  // over the whole form (e.g. the hourglass is separate)

    std::function<void()> on_close_request;  // the window's close box
    std::function<void()> on_lost_focus;
    std::function<void(int key)> on_key_down;  // keys that no control took
    std::function<void(const MouseEvent&)> on_mouse_down;  // clicks on the bare form

    // The control with the keyboard focus (its caret shows).
    Control* focus() const { return focus_; }
    // The focus was moved with the keyboard: a focused button shows its focus mark.
    bool keyboard_cues = false;
    void set_focus(Control* control);

    // What changed on screen since the last present (client-area coordinates).
    void invalidate(const Rect& area);
    void invalidate() override;  // all of it
    Damage take_damage();
    bool damaged() const { return !damage_.empty(); }
    // Presents the damage now when the form is shown; nothing otherwise.
    void present_now();
    // The host, while it shows the form.
    void set_presenter(FormPresenter* presenter) { presenter_ = presenter; }
    bool presented() const { return presenter_ != nullptr; }

private:
    void surface_refreshed() override;

    Control* focus_ = nullptr;
    Damage damage_;
    bool menu_changed_ = true;
    int menu_highlight_ = -1;
    FormPresenter* presenter_ = nullptr;
};

// Draws the form's client area as the player sees it: the form's image, then the
// shown controls bottom to top, each clipped to its parent.
void compose(const Form& form, Surface& out);
// Draws only `area` again into `out`, which holds the form's last composed picture; the
// pixels inside come out exactly as a whole compose would draw them. A picture of
// another size is composed whole.
void compose(const Form& form, Surface& out, const Rect& area);

}  // namespace dalvo::platform
