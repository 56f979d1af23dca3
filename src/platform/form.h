#pragma once
// Forms and their controls: the game window and the dialogs as trees of named
// controls. The game logic builds them and handles their events; the platform
// realises them (a window per open form, or pixels only when headless).

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "platform/picture.h"
#include "platform/surface.h"

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
}  // namespace key

enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

struct MouseEvent {
    MouseButton button = MouseButton::Left;
    int x = 0;  // relative to the control
    int y = 0;
};

class Form;

class Control {
public:
    Control(Form& form, Control* parent, std::string name, ControlKind kind);

    // Adds a child on top of the existing ones (children are kept bottom to top).
    Control& add(std::string name, ControlKind kind);

    // Position and size relative to the parent (or to the form's client area).
    void move(int left, int top, int width, int height);
    void move(int left, int top) { move(left, top, width, height); }

    // Marks the control's pixels as changed so that the next present shows them.
    void refresh();

    const std::string name;
    const ControlKind kind;
    Form& form;
    Control* const parent;
    std::vector<std::unique_ptr<Control>> children;

    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool enabled = true;
    std::string caption;
    int alignment = 0;        // Label caption: 0 left, 1 right, 2 centre
    Color back_color = 0xC0C0C0;
    Color fore_color = kBlack;
    bool back_opaque = true;  // labels: false lets the parent show through
    FontSpec font;
    int border_width = 0;     // pixels of a plain border in `border_color`; 0 none
    Color border_color = kBlack;

    // Picture: the persistent image, always width x height. Also what a Picture shows.
    Surface image;

    // Shape
    ShapeKind shape = ShapeKind::Rectangle;
    bool filled = false;
    Color fill_color = kBlack;
    // Line
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // CheckBox (0 or 1), OptionButton (0 or 1)
    int value = 0;
    // TextBox: committed text, caret (in characters), the composition being typed.
    std::string text;
    int caret = 0;
    std::string composition;
    int max_length = 0;  // 0: no limit

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
};

struct MenuItem {
    std::string name;     // e.g. "prog_save"
    std::string caption;  // what the menu bar shows
    bool enabled = true;
    std::function<void()> on_click;
};

class Form {
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

    // Sets the client size (the window's outer size follows).
    void set_client_size(int width, int height);

    const std::string name;
    std::string caption;
    int client_width;
    int client_height;
    int left = 0, top = 0;  // window position on the desktop (screen pixels), if known
    bool enabled = true;
    bool topmost = false;
    Color back_color = 0xC0C0C0;
    // The form's own drawing surface (e.g. the wall behind the stage), client-sized.
    Surface image;
    std::vector<std::unique_ptr<Control>> controls;  // bottom to top
    std::vector<MenuItem> menu;                      // empty: no menu bar
    Control* focus = nullptr;
    std::shared_ptr<const Cursor> cursor;  // over the whole form (e.g. the hourglass is separate)

    std::function<void()> on_close_request;  // the window's close box
    std::function<void()> on_lost_focus;
    std::function<void(int key)> on_key_down;  // keys that no control took
    std::function<void(const MouseEvent&)> on_mouse_down;  // clicks on the bare form

    // Incremented by refresh() of any control; presenters compare it.
    std::uint64_t generation = 0;
};

// A rectangle of a form's client area.
struct ClientRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool operator==(const ClientRect&) const = default;
};
// The common part of both (empty when they do not meet), and the smallest rectangle
// holding both (an empty one adds nothing).
ClientRect intersect(const ClientRect& a, const ClientRect& b);
ClientRect bounding(const ClientRect& a, const ClientRect& b);

// Draws the form's client area as the player sees it: the form's image, then the
// shown controls bottom to top, each clipped to its parent.
void compose(const Form& form, Surface& out);
// Draws only `area` again into `out`, which holds the form's last composed picture; the
// pixels inside come out exactly as a whole compose would draw them. A picture of
// another size is composed whole.
void compose(const Form& form, Surface& out, const ClientRect& area);

}  // namespace dalvo::platform
