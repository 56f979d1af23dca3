#include "platform/sdl/drawn_message_box.h"

#include <algorithm>

#include "platform/gfx/font.h"
#include "platform/sdl/menu_bar.h"
#include "platform/sdl/sdl_resources.h"

namespace dalvo::platform {

namespace {

constexpr Color kFace = Color{0xC0C0C0};
constexpr Color kShadow = Color{0x808080};
constexpr Color kHighlight = Color{0xFFFFFF};
constexpr int kMargin = 12;
constexpr int kButtonW = 75;
constexpr int kButtonH = 23;
constexpr int kButtonGap = 6;
constexpr int kMinWidth = 120;

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

// The raised (or, pressed, sunken) face of a push button.
void draw_button(Surface& out, const MessageBoxLayout::Button& b, const std::string& caption,
                 bool focus, bool pressed) {
    int x = b.x, y = b.y, w = b.w, h = b.h;
    out.fill_rect(x, y, w, h, kFace);
    if (focus) {
        out.draw_rect(x, y, w, h, kBlack);
        ++x, ++y, w -= 2, h -= 2;
    }
    if (pressed) {
        out.draw_rect(x, y, w, h, kShadow);
    } else {
        out.draw_line(x, y, x + w - 1, y, kHighlight);
        out.draw_line(x, y, x, y + h - 1, kHighlight);
        out.draw_line(x, y + h - 1, x + w - 1, y + h - 1, kBlack);
        out.draw_line(x + w - 1, y, x + w - 1, y + h - 1, kBlack);
        out.draw_line(x + 1, y + h - 2, x + w - 2, y + h - 2, kShadow);
        out.draw_line(x + w - 2, y + 1, x + w - 2, y + h - 2, kShadow);
    }
    const FontSpec font = menu_font();
    const int shift = pressed ? 1 : 0;
    draw_text(out, b.x + (b.w - text_width(font, caption)) / 2 + shift,
              b.y + (b.h - text_height(font)) / 2 + shift, caption, font, kBlack);
}

}  // namespace

MessageBoxLayout layout_message_box(const std::string& text, const std::vector<std::string>& captions) {
    const FontSpec font = menu_font();
    MessageBoxLayout l;
    l.lines = split_lines(text);
    l.line_height = text_height(font) + 2;
    int text_w = 0;
    for (const std::string& line : l.lines) text_w = std::max(text_w, text_width(font, line));
    const int n = static_cast<int>(captions.size());
    const int buttons_w = n * kButtonW + std::max(0, n - 1) * kButtonGap;
    l.width = std::max({kMinWidth, text_w + 2 * kMargin, buttons_w + 2 * kMargin});
    l.text_x = kMargin;
    l.text_y = kMargin + 4;
    const int text_h = static_cast<int>(l.lines.size()) * l.line_height;
    const int buttons_y = l.text_y + text_h + 16;
    l.height = buttons_y + kButtonH + kMargin;
    int x = (l.width - buttons_w) / 2;
    for (int i = 0; i < n; ++i) {
        l.buttons.push_back({x, buttons_y, kButtonW, kButtonH});
        x += kButtonW + kButtonGap;
    }
    return l;
}

int message_box_button_at(const MessageBoxLayout& layout, int x, int y) {
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        const auto& b = layout.buttons[i];
        if (x >= b.x && y >= b.y && x < b.x + b.w && y < b.y + b.h) return static_cast<int>(i);
    }
    return -1;
}

void draw_message_box(Surface& out, const MessageBoxLayout& layout,
                      const std::vector<std::string>& captions, int focus, int pressed) {
    out.fill_rect(0, 0, layout.width, layout.height, kFace);
    const FontSpec font = menu_font();
    int y = layout.text_y;
    for (const std::string& line : layout.lines) {
        draw_text(out, layout.text_x, y, line, font, kBlack);
        y += layout.line_height;
    }
    for (std::size_t i = 0; i < layout.buttons.size() && i < captions.size(); ++i) {
        draw_button(out, layout.buttons[i], captions[i], static_cast<int>(i) == focus,
                    static_cast<int>(i) == pressed);
    }
}

int run_drawn_message_box(const std::string& title, const std::string& text,
                          const std::vector<std::string>& captions, int escape, int scale) {
    const MessageBoxLayout layout = layout_message_box(text, captions);
    const int f = std::max(1, scale);
    sdl::WindowPtr window(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                           layout.width * f, layout.height * f,
                                           SDL_WINDOW_SHOWN | SDL_WINDOW_ALWAYS_ON_TOP));
    if (!window) return -1;
    sdl::RendererPtr renderer(SDL_CreateRenderer(window.get(), -1, 0));
    if (!renderer) renderer.reset(SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_SOFTWARE));
    if (!renderer) return -1;
    sdl::TexturePtr texture(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_RGB888,
                                              SDL_TEXTUREACCESS_STREAMING, layout.width, layout.height));
    if (!texture) return -1;
    SDL_RaiseWindow(window.get());
    const std::uint32_t id = SDL_GetWindowID(window.get());
    const int count = static_cast<int>(captions.size());

    Surface picture(layout.width, layout.height);
    int focus = 0;
    int pressed = -1;
    int result = -1;
    bool dirty = true;
    while (result < 0) {
        if (dirty) {
            draw_message_box(picture, layout, captions, focus, pressed);
            SDL_UpdateTexture(texture.get(), nullptr, picture.data(), layout.width * 4);
            SDL_RenderClear(renderer.get());
            SDL_RenderCopy(renderer.get(), texture.get(), nullptr, nullptr);
            SDL_RenderPresent(renderer.get());
            dirty = false;
        }
        SDL_Event e;
        if (!SDL_WaitEventTimeout(&e, 100)) continue;
        // The box is modal: what is meant for the other windows is dropped.
        switch (e.type) {
            case SDL_QUIT: result = escape; break;
            case SDL_WINDOWEVENT:
                if (e.window.windowID != id) break;
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) result = escape;
                else dirty = true;
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT) {
                    pressed = message_box_button_at(layout, e.button.x / f, e.button.y / f);
                    if (pressed >= 0) focus = pressed;
                    dirty = true;
                }
                break;
            case SDL_MOUSEBUTTONUP:
                if (e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT && pressed >= 0) {
                    if (message_box_button_at(layout, e.button.x / f, e.button.y / f) == pressed) {
                        result = pressed;
                    }
                    pressed = -1;
                    dirty = true;
                }
                break;
            case SDL_KEYDOWN:
                if (e.key.windowID != id) break;
                switch (e.key.keysym.sym) {
                    case SDLK_RETURN:
                    case SDLK_KP_ENTER:
                    case SDLK_SPACE: result = focus; break;
                    case SDLK_ESCAPE: result = escape; break;
                    case SDLK_LEFT: focus = (focus + count - 1) % count, dirty = true; break;
                    case SDLK_RIGHT:
                    case SDLK_TAB: focus = (focus + 1) % count, dirty = true; break;
                    default: break;
                }
                break;
            default: break;
        }
    }
    return result;
}

}  // namespace dalvo::platform
