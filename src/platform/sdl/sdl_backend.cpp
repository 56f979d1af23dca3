#include "platform/sdl/sdl_backend.h"

#include <algorithm>
#include <string>

#include "platform/sdl/drawn_message_box.h"
#include "platform/sdl/menu_bar.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_window.h"

namespace dalvo::platform {

namespace {

// Our Pixel is 0x00RRGGBB in a 32-bit word: SDL's XRGB layout.
constexpr Uint32 kTextureFormat = SDL_PIXELFORMAT_RGB888;

int menu_height(const Form& form) { return form.menu.empty() ? 0 : kMenuBarHeight; }

}  // namespace

SdlBackend::SdlBackend(int scale, WindowIcon icon) : scale_(std::max(1, scale)), icon_(icon) {
    // The game window with its menu bar must fit the usable desktop as a whole.
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        scale_ = fit_scale(scale_, usable.w, usable.h, 640, 480 + kMenuBarHeight);
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // Whole-number nearest-neighbour scaling of a 640 x 480 picture needs no GPU: the
    // software renderer writes straight into the window's X image, where a GL renderer
    // would bring up the whole GL stack (on a machine without a GPU, a JIT compiler with
    // it) at about 90 MiB and most of a second. Set before any window or message box.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Closing the last window is the game's own close request, never an extra quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The input method stays off until the game opens it for the name entry.
    SDL_StopTextInput();
    arrow_ = std::make_unique<CachedCursor>();
    arrow_->cursor.reset(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW));
    wait_ = std::make_unique<CachedCursor>();
    wait_->cursor.reset(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT));
    pads_ = std::make_unique<sdl::Pads>();
}

SdlBackend::~SdlBackend() {
    pads_.reset();
    // Back to SDL's own pointer before ours are freed with the members.
    mouse_window_ = nullptr;
    windows_.clear();
    SDL_SetCursor(SDL_GetDefaultCursor());
}

SdlBackend::Window* SdlBackend::find(const Form& form) const {
    for (const auto& w : windows_) {
        if (w->form == &form) return w.get();
    }
    return nullptr;
}

SdlBackend::Window* SdlBackend::find(std::uint32_t window_id) const {
    for (const auto& w : windows_) {
        if (w->id == window_id) return w.get();
    }
    return nullptr;
}

SdlBackend::Window* SdlBackend::create(Form& form) {
    auto w = std::make_unique<Window>();
    w->form = &form;
    w->menu_h = menu_height(form);
    w->tex_w = std::max(1, form.client_width);
    w->tex_h = std::max(1, form.client_height + w->menu_h);
    w->title = form.caption;
    w->left = form.left;
    w->top = form.top;
    w->topmost = form.topmost;
    const bool placed = form.left != 0 || form.top != 0;
    // Shown only once the window manager has been told what it is.
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (form.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    // The game window may be made any size: its picture is fitted in, aspect kept.
    const bool main = windows_.empty();
    if (main) flags |= SDL_WINDOW_RESIZABLE;
    w->resizable = main;
    w->window.reset(SDL_CreateWindow(
        form.caption.c_str(), placed ? form.left * scale_ : static_cast<int>(SDL_WINDOWPOS_CENTERED),
        placed ? form.top * scale_ : static_cast<int>(SDL_WINDOWPOS_CENTERED), w->tex_w * scale_,
        w->tex_h * scale_, flags));
    if (!w->window) {
        SDL_Log("window for %s: %s", form.name.c_str(), SDL_GetError());
        return nullptr;
    }
    x11_.attach(w->window.get());
    w->id = SDL_GetWindowID(w->window.get());
    w->renderer.reset(SDL_CreateRenderer(w->window.get(), -1, SDL_RENDERER_SOFTWARE));
    if (!w->renderer) {
        SDL_Log("renderer for %s: %s", form.name.c_str(), SDL_GetError());
        return nullptr;
    }
    // The first window is the game's own, with its icon; the others are its dialogs.
    SDL_Window* owner = windows_.empty() ? nullptr : windows_.front()->window.get();
    if (owner == nullptr && icon_.rgba != nullptr) {
        const sdl::SurfacePtr icon(SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<unsigned char*>(icon_.rgba), icon_.size, icon_.size, 32, icon_.size * 4,
            SDL_PIXELFORMAT_RGBA32));
        if (icon) SDL_SetWindowIcon(w->window.get(), icon.get());
    }
    set_window_role(w->window.get(), owner);
    SDL_ShowWindow(w->window.get());
    windows_.push_back(std::move(w));
    return windows_.back().get();
}

void SdlBackend::form_shown(Form& form) {
    if (find(form) == nullptr) create(form);
    update_cursor();
}

void SdlBackend::form_hidden(Form& form) {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [&](const auto& w) { return w->form == &form; });
    if (it == windows_.end()) return;
    if (mouse_window_ == it->get()) mouse_window_ = nullptr;
    windows_.erase(it);
}

// Carries the form's window-level properties over to its window.
void SdlBackend::sync(Window& w) {
    Form& form = *w.form;
    if (form.caption != w.title) {
        w.title = form.caption;
        SDL_SetWindowTitle(w.window.get(), w.title.c_str());
    }
    if ((form.left != w.left || form.top != w.top) && !w.fullscreen) {
        w.left = form.left;
        w.top = form.top;
        SDL_SetWindowPosition(w.window.get(), form.left * scale_, form.top * scale_);
    }
    if (form.topmost != w.topmost) {
        w.topmost = form.topmost;
        SDL_SetWindowAlwaysOnTop(w.window.get(), form.topmost ? SDL_TRUE : SDL_FALSE);
    }
    const int menu_h = menu_height(form);
    const int tex_w = std::max(1, form.client_width);
    const int tex_h = std::max(1, form.client_height + menu_h);
    if (tex_w != w.tex_w || tex_h != w.tex_h || menu_h != w.menu_h) {
        w.tex_w = tex_w;
        w.tex_h = tex_h;
        w.menu_h = menu_h;
        w.texture.reset();
        w.have_picture = false;
        w.form->invalidate();
        if (!w.fullscreen) SDL_SetWindowSize(w.window.get(), tex_w * scale_, tex_h * scale_);
    }
    int out_w = 0, out_h = 0;
    SDL_GetRendererOutputSize(w.renderer.get(), &out_w, &out_h);
    // A window at its own size gets the chosen scale from the fit as well.
    const Viewport vp = fit_viewport(out_w, out_h, w.tex_w, w.tex_h, scale_, w.fullscreen || w.resizable, smooth_);
    if (vp.x != w.viewport.x || vp.y != w.viewport.y || vp.factor != w.viewport.factor ||
        vp.width != w.viewport.width || vp.height != w.viewport.height) {
        w.viewport = vp;
        w.dirty = true;
    }
}

bool SdlBackend::make_texture(Window& w) {
    if (w.texture) return true;
    w.texture.reset(SDL_CreateTexture(w.renderer.get(), kTextureFormat, SDL_TEXTUREACCESS_STREAMING,
                                      w.tex_w, w.tex_h));
    if (!w.texture) return false;
    SDL_SetTextureBlendMode(w.texture.get(), SDL_BLENDMODE_NONE);
    w.have_picture = false;
    w.menu_dirty = true;
    w.dirty = true;
    return true;
}

Rect SdlBackend::draw_menu(Window& w) {
    if (w.form->take_menu_change()) w.menu_dirty = true;
    if (w.menu_h == 0 || !w.menu_dirty) return {};
    w.menu_dirty = false;
    if (w.strip.width() != w.tex_w || w.strip.height() != w.menu_h) w.strip = Surface(w.tex_w, w.menu_h);
    w.slots = layout_menu(w.form->menu);
    draw_menu_bar(w.strip, 0, w.tex_w, w.form->menu, w.slots, w.pressed_menu, w.form->menu_highlight());
    const SDL_Rect strip_rect{0, 0, w.tex_w, w.menu_h};
    SDL_UpdateTexture(w.texture.get(), &strip_rect, w.strip.data(), w.tex_w * 4);
    return {0, 0, w.tex_w, w.menu_h};
}

// `area` of the client picture into the texture, below the menu bar.
void SdlBackend::upload(Window& w, const Surface& picture, const Rect& area) {
    const Rect r = intersect(area, {0, 0, std::min(picture.width(), w.tex_w),
                                    std::min(picture.height(), w.tex_h - w.menu_h)});
    if (r.empty()) return;
    const SDL_Rect rect{r.x, w.menu_h + r.y, r.w, r.h};
    SDL_UpdateTexture(w.texture.get(), &rect, picture.row(r.y) + r.x, picture.width() * 4);
}

// The software renderer keeps what it drew before: a clean window gets only `area`.
void SdlBackend::render(Window& w, const Rect& area) {
    SDL_Renderer* r = w.renderer.get();
    const int f = w.viewport.factor;
    // A filtered pixel blends its neighbours: a part of the picture is drawn with the whole.
    const bool smooth = w.viewport.smooth();
    if (w.dirty || !w.texture || !w.have_picture || (smooth && !area.empty())) {
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        SDL_RenderClear(r);
        if (w.texture && w.have_picture) {
            SDL_SetTextureScaleMode(w.texture.get(), smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
            const SDL_Rect dst{w.viewport.x, w.viewport.y, w.viewport.shown_w, w.viewport.shown_h};
            SDL_RenderCopy(r, w.texture.get(), nullptr, &dst);
        }
        w.dirty = false;
    } else if (!area.empty()) {
        const SDL_Rect src{area.x, area.y, area.w, area.h};
        const SDL_Rect dst{w.viewport.x + area.x * f, w.viewport.y + area.y * f, area.w * f, area.h * f};
        SDL_RenderCopy(r, w.texture.get(), &src, &dst);
    }
    SDL_RenderPresent(r);
    ++frames_;
}

void SdlBackend::show(Form& form, const Surface& picture, const Damage& changed) {
    Window* w = find(form);
    if (w == nullptr) w = create(form);
    if (w == nullptr) return;
    sync(*w);
    if (!make_texture(*w)) return;
    Rect area = draw_menu(*w);
    if (!w->have_picture) {
        upload(*w, picture, {0, 0, picture.width(), picture.height()});
        w->have_picture = true;
        w->dirty = true;
    } else {
        for (const Rect& r : changed) {
            upload(*w, picture, r);
            area = bounding(area, r.translated(0, w->menu_h));
        }
    }
    render(*w, area);
    // What lies under a still mouse may have changed its pointer.
    update_cursor();
}

void SdlBackend::update_windows(const std::vector<Form*>& forms) {
    for (Form* form : forms) {
        Window* w = find(*form);
        if (w == nullptr || !w->have_picture) continue;
        sync(*w);
        if (!make_texture(*w)) continue;
        const Rect menu = draw_menu(*w);
        if (!w->have_picture) {
            // A new texture: the client area comes with the form's next present.
            form->invalidate();
            continue;
        }
        if (w->dirty || !menu.empty()) render(*w, menu);
    }
}

MsgAnswer SdlBackend::message_box(std::string_view text, MsgButtons buttons, std::optional<MsgAnswer> given) {
    // The automation answered: the player sees no box.
    if (given) return *given;
    const std::string message(text);
    const bool ask = buttons == MsgButtons::YesNo;
    const char* kYes = "はい";
    const char* kNo = "いいえ";
    SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "OK"}};
    SDL_MessageBoxButtonData yes_no[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 0, kYes},
                                         {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, kNo}};
    SDL_MessageBoxData data{};
    data.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
#ifdef _WIN32
    // Owned by the window in front, as the system's own boxes are: the game cannot be
    // clicked behind it.
    data.window = windows_.empty() ? nullptr : windows_.back()->window.get();
#else
    // No parent window: SDL may then use the desktop's own dialog tool, which shows
    // Japanese text where the bare X11 box has no fonts for it.
    data.window = nullptr;
#endif
    data.title = "DALVO!";
    data.message = message.c_str();
    data.numbuttons = ask ? 2 : 1;
    data.buttons = ask ? yes_no : ok;
    int id = -1;
    if (SDL_ShowMessageBox(&data, &id) != 0) {
        const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
        if (driver == "dummy" || driver == "offscreen") {
            id = 0;  // nobody could answer: the default button
        } else {
            const std::vector<std::string> captions =
                ask ? std::vector<std::string>{kYes, kNo} : std::vector<std::string>{"OK"};
            id = run_drawn_message_box("DALVO!", message, captions, ask ? 1 : 0, scale_);
            if (id < 0) id = 0;
        }
    }
    // Our windows may have been covered by the box.
    for (auto& w : windows_) w->dirty = true;
    if (!ask) return MsgAnswer::Ok;
    return id == 0 ? MsgAnswer::Yes : MsgAnswer::No;
}
// The usable area: what panels and docks leave of the desktop.
bool SdlBackend::desktop_size(int& width, int& height) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return false;
    width = usable.w / scale_;
    height = usable.h / scale_;
    return true;
}

int SdlBackend::menu_bar_height(const Form& form) const { return menu_height(form); }

bool SdlBackend::window_size(const Form& form, int& width, int& height) const {
    const Window* w = find(form);
    if (w == nullptr || !w->window) return false;
    SDL_GetWindowSize(w->window.get(), &width, &height);
    width /= scale_;
    height /= scale_;
    return true;
}

std::uint32_t SdlBackend::window_id(const Form& form) const {
    const Window* w = find(form);
    return w != nullptr ? w->id : 0;
}

bool SdlBackend::read_client(const Form& form, Surface& out) {
    Window* w = find(form);
    if (w == nullptr || !w->have_picture) return false;
    render(*w, {});
    const int f = w->viewport.factor;
    const int cw = w->tex_w;
    const int ch = w->tex_h - w->menu_h;
    std::vector<Uint32> pixels(static_cast<std::size_t>(cw) * f * ch * f);
    const SDL_Rect rect{w->viewport.x, w->viewport.y + w->menu_h * f, cw * f, ch * f};
    if (SDL_RenderReadPixels(w->renderer.get(), &rect, kTextureFormat, pixels.data(), cw * f * 4) != 0) {
        return false;
    }
    SDL_RenderPresent(w->renderer.get());
    out = Surface(cw, ch);
    for (int y = 0; y < ch; ++y) {
        Pixel* row = out.row(y);
        for (int x = 0; x < cw; ++x) {
            row[x] = pixels[static_cast<std::size_t>(y) * f * cw * f + static_cast<std::size_t>(x) * f] & 0xFFFFFF;
        }
    }
    return true;
}

}  // namespace dalvo::platform
