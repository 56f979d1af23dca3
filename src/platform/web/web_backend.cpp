#include "platform/web/web_backend.h"

#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <limits>
#include <string>

#include "platform/gfx/font.h"
#include "platform/sdl/drawn_message_box.h"
#include "platform/sdl/sdl_cursor.h"
#include "platform/sdl/sdl_input.h"
#include "platform/web/web_page.h"

namespace dalvo::platform {
namespace {

constexpr int kCaptionHeight = 18;  // the caption bar over a dialog's client area
constexpr Color kCaptionColor{0x000080};
constexpr Color kFrameColor{0x404040};

int menu_height(const Form& form) { return form.menu.empty() ? 0 : kMenuBarHeight; }

// Copies `part` of `src` into `dst` with src's origin at (x, y), clipped to both.
void blit(Surface& dst, const Surface& src, int x, int y, const Rect& part) {
    const Rect r = intersect(intersect(part, {0, 0, src.width(), src.height()}),
                             {-x, -y, dst.width(), dst.height()});
    for (int row = r.y; row < r.bottom(); ++row) {
        std::copy_n(src.row(row) + r.x, r.w, dst.row(row + y) + r.x + x);
    }
}

// Copies `src` into `dst` at (x, y), clipped to `dst`.
void blit(Surface& dst, const Surface& src, int x, int y) { blit(dst, src, x, y, {0, 0, src.width(), src.height()}); }

void draw_caption(Surface& dst, int x, int y, int w, const std::string& caption) {
    dst.fill_rect(x - 1, y - kCaptionHeight - 1, w + 2, kCaptionHeight + 1, kCaptionColor);
    dst.draw_rect(x - 1, y - kCaptionHeight - 1, w + 2, kCaptionHeight + 2 + 0, kFrameColor);
    FontSpec font = menu_font();
    font.bold = true;
    draw_text(dst, x + 4, y - kCaptionHeight + 1, caption, font, Color{0xFFFFFF});
}

}  // namespace

WebBackend::WebBackend()
    : arrow_(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW)), wait_(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT)) {
    SDL_StopTextInput();
}

WebBackend::~WebBackend() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

WebBackend::Place* WebBackend::find(const Form& form) {
    for (Place& p : places_) {
        if (p.form == &form) return &p;
    }
    return nullptr;
}

void WebBackend::ensure_window(const Form& main) {
    const int w = std::max(1, main.client_width);
    const int mh = menu_height(main);
    const int h = std::max(1, main.client_height + mh);
    if (window_ == nullptr) {
        window_ = SDL_CreateWindow(main.caption.c_str(), 0, 0, w, h, SDL_WINDOW_SHOWN);
    } else if (w != width_ || h != height_) {
        SDL_SetWindowSize(window_, w, h);
    }
    if (w != width_ || h != height_ || mh != menu_h_) {
        width_ = w;
        height_ = h;
        menu_h_ = mh;
        screen_ = Surface(w, h);
        screen_dirty_ = true;
    }
}

WebBackend::Place& WebBackend::add(Form& form) {
    if (Place* p = find(form)) return *p;
    places_.push_back(Place{});
    places_.back().form = &form;
    places_.back().caption = form.caption;
    if (places_.size() == 1) ensure_window(form);
    screen_dirty_ = true;
    return places_.back();
}

void WebBackend::form_shown(Form& form) { add(form); }

void WebBackend::form_hidden(Form& form) {
    std::erase_if(places_, [&](const Place& p) { return p.form == &form; });
    screen_dirty_ = true;
}

bool WebBackend::desktop_size(int& width, int& height) {
    if (width_ == 0) return false;
    width = width_;
    height = height_;
    return true;
}

// Where a form's client area lies in the canvas: the main form under its menu bar,
// the others where the game placed them relative to it, kept inside the canvas.
void WebBackend::place(Place& p) {
    if (&p == main_place()) {
        p.x = 0;
        p.y = menu_h_;
        return;
    }
    const Form& main = *main_place()->form;
    const Form& f = *p.form;
    p.x = std::clamp(f.left - main.left, 1, std::max(1, width_ - f.client_width - 1));
    p.y = std::clamp(f.top - main.top + menu_h_, kCaptionHeight + 1,
                     std::max(kCaptionHeight + 1, height_ - f.client_height - 1));
}

void WebBackend::arrange() {
    if (places_.empty()) return;
    ensure_window(*main_place()->form);
    for (Place& p : places_) {
        const int old_x = p.x, old_y = p.y;
        place(p);
        if (p.x != old_x || p.y != old_y) screen_dirty_ = true;
        if (p.caption != p.form->caption) {
            p.caption = p.form->caption;
            if (&p != main_place()) screen_dirty_ = true;
        }
    }
    if (main_place()->form->take_menu_change()) screen_dirty_ = true;
}

void WebBackend::show(Form& form, const Surface& picture, const Damage& changed) {
    Place& p = add(form);
    arrange();
    if (p.client.width() != picture.width() || p.client.height() != picture.height()) {
        p.client = picture;
        screen_dirty_ = true;
    } else {
        for (const Rect& r : changed) blit(p.client, picture, 0, 0, r);
    }
    if (screen_dirty_) {
        draw_screen();
    } else if (&p == &places_.back()) {
        draw_changed(p, changed);
    } else {
        draw_screen();  // a form under a dialog: the dialog goes over it again
    }
    upload();
}

void WebBackend::update_windows(const std::vector<Form*>& forms) {
    for (Form* f : forms) add(*f);
    arrange();
    if (!screen_dirty_) return;
    draw_screen();
    upload();
}

void WebBackend::draw_changed(const Place& p, const Damage& changed) {
    for (const Rect& r : changed) {
        blit(screen_, p.client, p.x, p.y, r);
        unsent_ = bounding(unsent_, r.translated(p.x, p.y));
    }
}

void WebBackend::draw_screen() {
    if (places_.empty()) return;
    const Form& main = *main_place()->form;
    if (menu_h_ > 0) {
        slots_ = layout_menu(main.menu);
        draw_menu_bar(screen_, 0, width_, main.menu, slots_, pressed_menu_);
    }
    for (Place& p : places_) {
        if (&p != main_place()) draw_caption(screen_, p.x, p.y, p.client.width(), p.form->caption);
        blit(screen_, p.client, p.x, p.y);
        if (&p != main_place()) {
            screen_.draw_rect(p.x - 1, p.y - kCaptionHeight - 1, p.client.width() + 2,
                              p.client.height() + kCaptionHeight + 2, kFrameColor);
        }
    }
    screen_dirty_ = false;
    unsent_ = {0, 0, width_, height_};
}

// Only the part drawn since the last upload goes to the page's canvas: converting the
// whole canvas at every present costs the browser more than a paced frame can spare.
void WebBackend::upload() {
    const Rect part = intersect(unsent_, {0, 0, width_, height_});
    unsent_ = Rect{};
    if (!part.empty()) page::paint(screen_, part);
}

WebBackend::Place* WebBackend::hit(int x, int y, int& cx, int& cy) {
    for (auto it = places_.rbegin(); it != places_.rend(); ++it) {
        const int w = it->client.width(), h = it->client.height();
        if (x >= it->x && y >= it->y && x < it->x + w && y < it->y + h) {
            cx = x - it->x;
            cy = y - it->y;
            return &*it;
        }
        // A dialog's caption bar and frame take the click from what lies below.
        if (&*it != main_place() && x >= it->x - 1 && x <= it->x + w && y >= it->y - kCaptionHeight - 1 &&
            y <= it->y + h) {
            return nullptr;
        }
    }
    return nullptr;
}

void WebBackend::handle_button(int x, int y, int button, bool down, std::vector<InputEvent>& out) {
    if (places_.empty()) return;
    Form& main = *main_place()->form;
    MouseButton which = MouseButton::Left;
    if (button == SDL_BUTTON_RIGHT) which = MouseButton::Right;
    else if (button == SDL_BUTTON_MIDDLE) which = MouseButton::Middle;
    else if (button != SDL_BUTTON_LEFT) return;
    // A menu caption fires when the button comes up over the caption it went down on.
    if (pressed_menu_ >= 0) {
        if (!down) {
            const int item = y < menu_h_ ? menu_item_at(slots_, x) : -1;
            if (item == pressed_menu_ && item < static_cast<int>(main.menu.size()) && main.menu[item].enabled()) {
                out.push_back(MenuCommand{main.name, main.menu[item].name});
            }
            pressed_menu_ = -1;
            screen_dirty_ = true;
        }
        return;
    }
    if (down && y < menu_h_ && places_.size() == 1) {
        const int item = menu_item_at(slots_, x);
        if (which == MouseButton::Left && item >= 0 && item < static_cast<int>(main.menu.size()) &&
            main.menu[item].enabled()) {
            pressed_menu_ = item;
            screen_dirty_ = true;
        }
        return;
    }
    const int bit = static_cast<int>(which);
    if (down) {
        int cx = 0, cy = 0;
        Place* p = hit(x, y, cx, cy);
        if (p == nullptr) return;
        buttons_form_ = p->form->name;
        buttons_ |= bit;
        out.push_back(MouseDown{p->form->name, cx, cy, which});
        return;
    }
    if ((buttons_ & bit) == 0) return;
    buttons_ &= ~bit;
    for (Place& p : places_) {
        if (p.form->name == buttons_form_) out.push_back(MouseUp{p.form->name, x - p.x, y - p.y, which});
    }
}

void WebBackend::pump(std::vector<InputEvent>& out) {
    if (on_pump_) on_pump_();
    // What was typed goes in order with the keys and clicks around it (a Backspace, then
    // a character), by time; what was typed in the same millisecond as a click comes
    // first: the page commits a composition as the player clicks elsewhere, and the game
    // must have the text before it sees the click.
    std::vector<page::Typed> typed;
    if (ime_ && !places_.empty()) typed = page::take_typing();
    // SDL's event times are milliseconds since it started, on the page's clock.
    const double sdl_start_ms = emscripten_get_now() - static_cast<double>(SDL_GetTicks64());
    std::size_t next_typed = 0;
    const auto typed_until = [&](double sdl_ms) {
        for (; next_typed < typed.size() && typed[next_typed].page_ms - sdl_start_ms < sdl_ms + 1; ++next_typed) {
            take_typed(std::move(typed[next_typed]), out);
        }
    };
    bool moved = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        typed_until(e.common.timestamp);
        switch (e.type) {
            case SDL_MOUSEMOTION: {
                int cx = 0, cy = 0;
                mouse_x_ = e.motion.x;
                mouse_y_ = e.motion.y;
                moved = true;
                if (buttons_ != 0) {
                    for (Place& p : places_) {
                        if (p.form->name == buttons_form_) {
                            out.push_back(MouseMove{p.form->name, e.motion.x - p.x, e.motion.y - p.y});
                        }
                    }
                } else if (Place* p = hit(e.motion.x, e.motion.y, cx, cy)) {
                    out.push_back(MouseMove{p->form->name, cx, cy});
                }
                break;
            }
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                handle_button(e.button.x, e.button.y, e.button.button, e.type == SDL_MOUSEBUTTONDOWN, out);
                break;
            case SDL_KEYDOWN: {
                const int code = key_code_from_sdl(e.key.keysym.sym);
                // The keyboard goes to the form shown last, as the desktop's focus would.
                if (code != 0 && !places_.empty()) out.push_back(KeyDown{places_.back().form->name, code});
                break;
            }
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_LEAVE) mouse_x_ = mouse_y_ = -1;
                break;
            case SDL_QUIT:
                if (!places_.empty()) out.push_back(CloseRequest{places_.front().form->name});
                break;
            default: break;
        }
    }
    typed_until(std::numeric_limits<double>::infinity());
    if (moved) update_cursor();
    if (ime_ && !places_.empty()) place_text_box();
}

void WebBackend::take_typed(page::Typed t, std::vector<InputEvent>& out) {
    if (places_.empty()) return;
    const std::string& form = places_.back().form->name;
    if (t.composing) out.push_back(TextEditing{form, std::move(t.text)});
    else out.push_back(TextInput{form, std::move(t.text)});
}

MsgAnswer WebBackend::message_box(std::string_view text, MsgButtons buttons, std::optional<MsgAnswer> given) {
    // The automation answered: the player sees no box.
    if (given) return *given;
    const bool ask = buttons == MsgButtons::YesNo;
    const std::vector<std::string> captions = ask ? std::vector<std::string>{"はい", "いいえ"}
                                                  : std::vector<std::string>{"OK"};
    const MessageBoxLayout layout = layout_message_box(std::string(text), captions);
    Surface box(layout.width, layout.height);
    const Surface under = screen_;
    const int x = std::max(1, (width_ - layout.width) / 2);
    const int y = std::max(kCaptionHeight + 1, (height_ - layout.height) / 2);
    int pressed = -1;
    int chosen = -1;
    while (chosen < 0) {
        draw_message_box(box, layout, captions, 0, pressed);
        screen_ = under;
        draw_caption(screen_, x, y, layout.width, "DALVO!");
        blit(screen_, box, x, y);
        screen_.draw_rect(x - 1, y - kCaptionHeight - 1, layout.width + 2, layout.height + kCaptionHeight + 2,
                          kFrameColor);
        unsent_ = {0, 0, width_, height_};
        upload();
        emscripten_sleep(10);
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                pressed = message_box_button_at(layout, e.button.x - x, e.button.y - y);
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
                if (pressed >= 0 && message_box_button_at(layout, e.button.x - x, e.button.y - y) == pressed) {
                    chosen = pressed;
                }
                pressed = -1;
            } else if (e.type == SDL_KEYDOWN) {
                if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_SPACE) chosen = 0;
                if (e.key.keysym.sym == SDLK_ESCAPE) chosen = ask ? 1 : 0;
            }
        }
    }
    screen_ = under;
    screen_dirty_ = true;
    unsent_ = {0, 0, width_, height_};
    upload();
    if (!ask) return MsgAnswer::Ok;
    return chosen == 0 ? MsgAnswer::Yes : MsgAnswer::No;
}

// The page's own text box over the focused one takes the input method's text.
void WebBackend::set_ime_open(bool open) {
    ime_ = open;
    text_box_ = Rect{};
    if (!open || places_.empty()) {
        SDL_StopTextInput();
        page::hide_text_box();
        return;
    }
    // With text input on, SDL leaves the keys that type to the page's box (it takes
    // Backspace, Tab and Enter itself, which reach the game as keys); its own text
    // events are not used.
    SDL_StartTextInput();
    place_text_box();
}

void WebBackend::place_text_box() {
    const Place& p = places_.back();
    const Control* c = p.form->focus();
    if (c == nullptr || c->kind != ControlKind::TextBox) return;
    const Rect r{p.x + c->absolute_left(), p.y + c->absolute_top(), c->width.get(), c->height.get()};
    if (r.x == text_box_.x && r.y == text_box_.y && r.w == text_box_.w && r.h == text_box_.h) return;
    text_box_ = r;
    page::show_text_box(r.x, r.y, r.w, r.h);
}

void WebBackend::launch_url(std::string_view url) { page::open_url(std::string(url)); }

void WebBackend::set_cursor(const Cursor* cursor, bool busy) {
    busy_ = busy;
    if (cursor != explicit_source_) {
        explicit_source_ = cursor;
        explicit_cursor_ = cursor != nullptr ? sdl::make_color_cursor(*cursor) : nullptr;
    }
    update_cursor();
}

void WebBackend::update_cursor() {
    SDL_Cursor* chosen = nullptr;
    int cx = 0, cy = 0;
    if (busy_) {
        chosen = wait_.get();
    } else if (Place* p = mouse_x_ >= 0 ? hit(mouse_x_, mouse_y_, cx, cy) : nullptr) {
        const Control* c = p->form->hit_test(cx, cy);
        const std::shared_ptr<const Cursor>& wanted = c != nullptr && c->cursor ? c->cursor : p->form->cursor;
        if (wanted) chosen = cached_cursor(wanted);
    }
    if (chosen == nullptr && !busy_) chosen = explicit_cursor_.get();
    if (chosen == nullptr) chosen = arrow_.get();
    if (chosen == nullptr || chosen == current_cursor_) return;
    current_cursor_ = chosen;
    SDL_SetCursor(chosen);
}

SDL_Cursor* WebBackend::cached_cursor(const std::shared_ptr<const Cursor>& wanted) {
    auto it = cursors_.find(wanted.get());
    if (it == cursors_.end() || it->second.source.lock() != wanted) {
        // A pointer freed by the game may come back at the same address: forget the gone ones.
        std::erase_if(cursors_, [](const auto& kv) { return kv.second.source.expired(); });
        it = cursors_.insert_or_assign(wanted.get(), CachedCursor{wanted, sdl::make_color_cursor(*wanted)}).first;
    }
    return it->second.cursor.get();
}

}  // namespace dalvo::platform
