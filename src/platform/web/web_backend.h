#pragma once
// The game in one canvas: the main form with its menu bar fills it, and the forms
// that open as windows of their own on the desktop (dialogs, message boxes) are
// drawn into it where the desktop would show them, with a caption bar.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/sdl/menu_bar.h"
#include "platform/sdl/sdl_resources.h"
#include "platform/web/web_page.h"
#include "platform/gfx/surface.h"

namespace dalvo::platform {

class WebBackend final : public Backend {
public:
    WebBackend();
    ~WebBackend() override;
    WebBackend(const WebBackend&) = delete;
    WebBackend& operator=(const WebBackend&) = delete;

    void pump(std::vector<InputEvent>& out) override;
    void show(Form& form, const Surface& picture, const Damage& changed) override;
    void update_windows(const std::vector<Form*>& forms) override;
    void form_shown(Form& form) override;
    void form_hidden(Form& form) override;
    MsgAnswer message_box(std::string_view text, MsgButtons buttons, std::optional<MsgAnswer> given) override;
    void set_ime_open(bool open) override;
    void launch_url(std::string_view url) override;
    void set_cursor(const Cursor* cursor, bool busy) override;
    bool desktop_size(int& width, int& height) override;

    // Called at every pump: the automation's output goes to the page from here.
    void set_on_pump(std::function<void()> f) { on_pump_ = std::move(f); }

private:
    struct Place {
        Form* form = nullptr;
        Surface client;  // the client area as last shown
        std::string caption;
        int x = 0, y = 0;  // the client area's top-left corner in the canvas
    };

    Place* find(const Form& form);
    Place* main_place() { return places_.empty() ? nullptr : &places_.front(); }
    Place& add(Form& form);
    // Places every form again and notes what moved or changed outside the pixels.
    void arrange();
    void place(Place& p);
    void ensure_window(const Form& main);
    void draw_screen();
    // Only `changed` of the topmost form, when nothing else on the canvas moved.
    void draw_changed(const Place& p, const Damage& changed);
    void upload();
    // The form under a canvas point (client coordinates set), else nullptr.
    Place* hit(int x, int y, int& cx, int& cy);
    void handle_button(int x, int y, int button, bool down, std::vector<InputEvent>& out);
    // The page's text box follows the focused text box of the form shown last.
    void place_text_box();
    // The page's typing since the last pump, as the focused form's text events.
    void take_typed(page::Typed t, std::vector<InputEvent>& out);
    // The pointer of what lies under the mouse, as the desktop's window would show it.
    void update_cursor();
    SDL_Cursor* cached_cursor(const std::shared_ptr<const Cursor>& wanted);

    SDL_Window* window_ = nullptr;
    int width_ = 0, height_ = 0;  // the canvas in game pixels: main client plus menu bar
    int menu_h_ = 0;
    std::vector<Place> places_;  // in the order shown: the first is the main form
    Surface screen_;
    bool screen_dirty_ = true;
    Rect unsent_{};  // drawn into screen_ but not yet on the page's canvas
    std::vector<MenuSlot> slots_;
    int pressed_menu_ = -1;
    std::string buttons_form_;  // the form a client button went down on
    int buttons_ = 0;
    bool ime_ = false;
    Rect text_box_{};  // where the page's text box was put, in canvas pixels

    struct CachedCursor {
        std::weak_ptr<const Cursor> source;
        sdl::CursorPtr cursor;
    };
    std::map<const Cursor*, CachedCursor> cursors_;
    const Cursor* explicit_source_ = nullptr;
    sdl::CursorPtr explicit_cursor_;
    sdl::CursorPtr arrow_, wait_;
    SDL_Cursor* current_cursor_ = nullptr;
    bool busy_ = false;
    int mouse_x_ = -1, mouse_y_ = -1;  // in the canvas; -1 while the mouse is outside
    std::function<void()> on_pump_;
};

}  // namespace dalvo::platform
