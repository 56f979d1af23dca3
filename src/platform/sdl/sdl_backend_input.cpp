// Input of the real window: SDL events turned into the game's input, the menu bar's
// captions, the mouse pointer, the input method and links.

#include <string>
#include <utility>

#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_cursor.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_window.h"
#include "platform/ui/player_control.h"

namespace dalvo::platform {

void SdlBackend::toggle_fullscreen(Window& w) {
    w.fullscreen = !w.fullscreen;
    SDL_SetWindowFullscreen(w.window.get(), w.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    w.dirty = true;
}

void SdlBackend::set_smooth_scaling(bool on) {
    if (on == smooth_) return;
    smooth_ = on;
    for (const auto& w : windows_) w->dirty = true;
}

void SdlBackend::toggle_fullscreen() {
    if (!windows_.empty()) toggle_fullscreen(*windows_.front());
}

void SdlBackend::handle_mouse(Window& w, int wx, int wy, int button, bool down, bool up,
                              std::vector<InputEvent>& out) {
    const Form& form = *w.form;
    const PicturePoint p = to_picture(w.viewport, wx, wy);
    const int cx = p.x;
    const int cy = p.y - w.menu_h;
    mouse_window_ = &w;
    mouse_x_ = cx;
    mouse_y_ = cy;

    MouseButton which = MouseButton::Left;
    if (button == SDL_BUTTON_RIGHT) which = MouseButton::Right;
    else if (button == SDL_BUTTON_MIDDLE) which = MouseButton::Middle;
    else if (button != SDL_BUTTON_LEFT && (down || up)) return;

    // A menu caption fires when the button is released over the caption it went down on.
    if (w.pressed_menu >= 0) {
        if (up) {
            const int item = p.inside && cy < 0 ? menu_item_at(w.slots, p.x) : -1;
            if (item == w.pressed_menu && item < static_cast<int>(form.menu.size()) &&
                form.menu[item].enabled()) {
                out.push_back(MenuCommand{form.name, form.menu[item].name});
            }
            w.pressed_menu = -1;
            w.menu_dirty = true;
        }
        return;
    }
    if (down && p.inside && cy < 0) {
        if (which != MouseButton::Left) return;
        const int item = menu_item_at(w.slots, p.x);
        if (item >= 0 && item < static_cast<int>(form.menu.size()) && form.menu[item].enabled()) {
            w.pressed_menu = item;
            w.menu_dirty = true;
        }
        return;
    }
    const int bit = static_cast<int>(which);
    if (down) {
        if (!p.inside) return;
        w.client_buttons |= bit;
        out.push_back(MouseDown{form.name, cx, cy, which});
    } else if (up) {
        // Only a button that went down on the client area comes up there.
        if ((w.client_buttons & bit) == 0) return;
        w.client_buttons &= ~bit;
        out.push_back(MouseUp{form.name, cx, cy, which});
    } else if ((p.inside && cy >= 0) || SDL_GetMouseState(nullptr, nullptr) != 0) {
        out.push_back(MouseMove{form.name, cx, cy});
    }
}

namespace {

// SDL's own upkeep (signals, the screen saver, pings) still runs at least this often.
constexpr int kMostTurnsUnpumped = 9;
constexpr int kAltCode = 18;

}  // namespace

void SdlBackend::pump(std::vector<InputEvent>& out) {
    // A turn of the game's 10 ms wait loop with nothing come from the X server costs one
    // look at the connection instead of SDL's whole pump. While text input runs the pump
    // goes on every turn: the input method answers over a connection of its own.
    if (turns_unpumped_ < kMostTurnsUnpumped && !SDL_IsTextInputActive() &&
        !SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) && x11_.surely_empty()) {
        ++turns_unpumped_;
        return;
    }
    turns_unpumped_ = 0;
    SDL_Event e;
    bool moved = false;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                if (!windows_.empty()) out.push_back(CloseRequest{windows_.front()->form->name});
                break;
            case SDL_WINDOWEVENT: {
                Window* w = find(e.window.windowID);
                if (w == nullptr) break;
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_CLOSE: out.push_back(CloseRequest{w->form->name}); break;
                    case SDL_WINDOWEVENT_FOCUS_LOST: out.push_back(FocusLost{w->form->name}); break;
                    case SDL_WINDOWEVENT_LEAVE:
                        if (mouse_window_ == w) mouse_window_ = nullptr;
                        moved = true;
                        break;
                    case SDL_WINDOWEVENT_EXPOSED:
                    case SDL_WINDOWEVENT_SHOWN:
                    case SDL_WINDOWEVENT_RESTORED:
                    case SDL_WINDOWEVENT_SIZE_CHANGED: w->dirty = true; break;
                    default: break;
                }
                break;
            }
            case SDL_MOUSEMOTION:
                if (Window* w = find(e.motion.windowID)) {
                    handle_mouse(*w, e.motion.x, e.motion.y, 0, false, false, out);
                    moved = true;
                }
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                if (Window* w = find(e.button.windowID)) {
                    handle_mouse(*w, e.button.x, e.button.y, e.button.button,
                                 e.type == SDL_MOUSEBUTTONDOWN, e.type == SDL_MOUSEBUTTONUP, out);
                    moved = true;
                }
                break;
            case SDL_KEYDOWN:
                if (Window* w = find(e.key.windowID)) {
                    const int code = key_code_from_sdl(e.key.keysym.sym);
                    if (code == 0) break;
                    const Uint16 held = e.key.keysym.mod;
                    KeyDown down{w->form->name, code,
                                 ((held & KMOD_SHIFT) ? mod::Shift : 0) | ((held & KMOD_CTRL) ? mod::Ctrl : 0) |
                                     ((held & KMOD_ALT) ? mod::Alt : 0)};
                    // Fullscreen is the window's own business: the game never hears those keys.
                    if (player_control(down) == PlayerControl::Fullscreen) {
                        if (!e.key.repeat) toggle_fullscreen(*w);
                        // The Alt of Alt+Enter was not pressed alone: its release opens no menu.
                        alt_spent_ = alt_spent_ || (held & KMOD_ALT) != 0;
                        break;
                    }
                    out.push_back(std::move(down));
                }
                break;
            case SDL_KEYUP:
                if (Window* w = find(e.key.windowID)) {
                    const int code = key_code_from_sdl(e.key.keysym.sym);
                    if (code == kAltCode && std::exchange(alt_spent_, false)) break;
                    if (code != 0) out.push_back(KeyUp{w->form->name, code});
                }
                break;
            case SDL_MOUSEWHEEL:
                if (Window* w = find(e.wheel.windowID); w != nullptr && e.wheel.y != 0) {
                    const int dy = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                    out.push_back(Wheel{w->form->name, dy});
                }
                break;
            case SDL_TEXTINPUT:
                if (Window* w = find(e.text.windowID)) out.push_back(TextInput{w->form->name, e.text.text});
                break;
            case SDL_TEXTEDITING:
                if (Window* w = find(e.edit.windowID)) out.push_back(TextEditing{w->form->name, e.edit.text});
                break;
            default:
                if (pads_ && !windows_.empty()) {
                    // The pad plays the game: its buttons go to the form that has the keyboard.
                    SDL_Window* focus = SDL_GetKeyboardFocus();
                    Window* w = focus != nullptr ? find(SDL_GetWindowID(focus)) : nullptr;
                    pads_->handle(e, (w != nullptr ? w : windows_.front().get())->form->name, out);
                }
                break;
        }
    }
    if (moved) update_cursor();
}

void SdlBackend::set_ime_open(bool open) {
    if (!open) {
        SDL_StopTextInput();
        return;
    }
    // Place the candidate list at the focused text box of the window that has the keyboard.
    SDL_Window* focus = SDL_GetKeyboardFocus();
    Window* w = focus != nullptr ? find(SDL_GetWindowID(focus)) : nullptr;
    if (w == nullptr && !windows_.empty()) w = windows_.front().get();
    if (w != nullptr && w->form->focus() != nullptr) {
        const Control& c = *w->form->focus();
        const int f = w->viewport.factor;
        SDL_Rect rect{w->viewport.x + c.absolute_left() * f,
                      w->viewport.y + (w->menu_h + c.absolute_top()) * f, c.width * f, c.height * f};
        SDL_SetTextInputRect(&rect);
    }
    SDL_StartTextInput();
}

void SdlBackend::launch_url(std::string_view url) {
    const std::string target(url);
    if (SDL_OpenURL(target.c_str()) != 0) SDL_Log("open %s: %s", target.c_str(), SDL_GetError());
}

void SdlBackend::set_cursor(const Cursor* cursor, bool busy) {
    busy_ = busy;
    if (cursor != explicit_source_) {
        explicit_source_ = cursor;
        explicit_cursor_.reset();
        if (cursor != nullptr) {
            explicit_cursor_ = std::make_unique<CachedCursor>();
            explicit_cursor_->cursor = sdl::make_color_cursor(*cursor);
        }
    }
    update_cursor();
}

void SdlBackend::update_cursor() {
    SDL_Cursor* chosen = nullptr;
    if (busy_) {
        chosen = wait_->cursor.get();
    } else if (mouse_window_ != nullptr && mouse_y_ >= 0) {
        Form& form = *mouse_window_->form;
        const Control* c = form.hit_test(mouse_x_, mouse_y_);
        const std::shared_ptr<const Cursor>& wanted = c != nullptr && c->cursor ? c->cursor : form.cursor;
        if (wanted) chosen = cached_cursor(wanted);
    }
    if (chosen == nullptr && !busy_ && explicit_cursor_) chosen = explicit_cursor_->cursor.get();
    if (chosen == nullptr) chosen = arrow_->cursor.get();
    if (chosen == nullptr || chosen == current_cursor_) return;
    current_cursor_ = chosen;
    SDL_SetCursor(chosen);
}

SDL_Cursor* SdlBackend::cached_cursor(const std::shared_ptr<const Cursor>& wanted) {
    auto it = cursors_.find(wanted.get());
    if (it == cursors_.end() || it->second->source.lock() != wanted) {
        // A pointer freed by the game may come back at the same address: forget the gone ones.
        std::erase_if(cursors_, [](const auto& kv) { return kv.second->source.expired(); });
        auto fresh = std::make_unique<CachedCursor>();
        fresh->source = wanted;
        fresh->cursor = sdl::make_color_cursor(*wanted);
        it = cursors_.insert_or_assign(wanted.get(), std::move(fresh)).first;
    }
    return it->second->cursor.get();
}

}  // namespace dalvo::platform
