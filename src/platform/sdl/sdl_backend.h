#pragma once
// The real window: one SDL window per shown form, the menu bar drawn above the
// client area, whole-number scaling, SDL input turned into the game's input.

#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/platform.h"
#include "platform/gfx/picture.h"
#include "platform/sdl/x11_queue.h"

struct SDL_Cursor;

namespace dalvo::platform {

namespace sdl {
class Pads;
}  // namespace sdl

class SdlBackend final : public Backend {
public:
    // SDL's video subsystem must be running. `scale` is the whole-number window scale.
    // `icon` is the main window's; a null one leaves SDL's.
    explicit SdlBackend(int scale, WindowIcon icon = {});
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    void pump(std::vector<InputEvent>& out) override;
    void show(Form& form, const Surface& picture, const Damage& changed) override;
    void update_windows(const std::vector<Form*>& forms) override;
    void form_shown(Form& form) override;
    void form_hidden(Form& form) override;
    MsgAnswer message_box(std::string_view text, MsgButtons buttons, std::optional<MsgAnswer> given) override;
    void set_ime_open(bool open) override;
    void launch_url(std::string_view url) override;
    void toggle_fullscreen() override;
    void set_smooth_scaling(bool on) override;
    // `busy` shows the system's wait pointer; else the pointer of the control under
    // the mouse, else of its form, else `cursor` when given, else the arrow.
    void set_cursor(const Cursor* cursor, bool busy) override;
    // In the game's pixels: a form's left/top are desktop positions divided by the scale.
    bool desktop_size(int& width, int& height) override;
    int menu_bar_height(const Form& form) const override;
    // The scale the windows use: the asked one, or the largest that fits the desktop.
    int scale() const { return scale_; }

    // For checks of the real window: the window's size in picture pixels (menu bar
    // included), the client area as the window shows it, and the frames presented.
    bool window_size(const Form& form, int& width, int& height) const;
    bool read_client(const Form& form, Surface& out);
    std::uint32_t window_id(const Form& form) const;  // SDL's id; 0 when not shown
    std::uint64_t frames_presented() const { return frames_; }

private:
    struct Window;
    struct CachedCursor;

    Window* find(const Form& form) const;
    Window* find(std::uint32_t window_id) const;
    Window* create(Form& form);
    void sync(Window& w);
    bool make_texture(Window& w);
    // Draws the menu bar into the texture when it changed; returns the part drawn.
    Rect draw_menu(Window& w);
    void upload(Window& w, const Surface& picture, const Rect& area);
    // The whole texture, or only `area` of it (texture coordinates), to the window.
    void render(Window& w, const Rect& area);
    void handle_mouse(Window& w, int wx, int wy, int button, bool down, bool up,
                      std::vector<InputEvent>& out);
    void update_cursor();
    SDL_Cursor* cached_cursor(const std::shared_ptr<const Cursor>& wanted);
    void toggle_fullscreen(Window& w);

    int scale_;
    WindowIcon icon_;
    std::vector<std::unique_ptr<Window>> windows_;  // in the order shown: the first is the main form
    std::map<const Cursor*, std::unique_ptr<CachedCursor>> cursors_;
    std::unique_ptr<CachedCursor> explicit_cursor_;
    const Cursor* explicit_source_ = nullptr;
    std::unique_ptr<CachedCursor> arrow_;
    std::unique_ptr<CachedCursor> wait_;
    bool busy_ = false;
    void* current_cursor_ = nullptr;  // the SDL cursor set last
    Window* mouse_window_ = nullptr;
    int mouse_x_ = 0, mouse_y_ = 0;  // client coordinates in mouse_window_
    std::uint64_t frames_ = 0;
    X11Queue x11_;
    int turns_unpumped_ = 0;  // pumps skipped in a row because nothing had come
    bool smooth_ = false;  // filtered scaling between whole multiples
    bool alt_spent_ = false;  // Alt is held for a shortcut the window took
    std::unique_ptr<sdl::Pads> pads_;
};

}  // namespace dalvo::platform
