#pragma once
// The state the real window keeps per shown form. Private to the SDL backend's files.

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/menu_bar.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_resources.h"

namespace dalvo::platform {

struct SdlBackend::CachedCursor {
    std::weak_ptr<const Cursor> source;
    sdl::CursorPtr cursor;
};

struct SdlBackend::Window {
    Form* form = nullptr;
    sdl::WindowPtr window;
    sdl::RendererPtr renderer;
    sdl::TexturePtr texture;
    std::uint32_t id = 0;
    int tex_w = 0, tex_h = 0;      // the picture: client area plus menu bar
    int menu_h = 0;
    std::string title;
    int left = 0, top = 0;         // the form's position as last applied
    bool topmost = false;
    bool fullscreen = false;
    bool resizable = false;        // the game window: any size, the picture fitted in
    bool have_picture = false;     // the texture holds the form's whole picture
    bool dirty = true;             // the window needs the whole texture drawn again
    bool menu_dirty = true;        // the menu bar needs drawing again
    int pressed_menu = -1;
    int client_buttons = 0;        // MouseButton bits pressed down on the client area
    std::vector<MenuSlot> slots;
    Surface strip;
    Viewport viewport;
};

}  // namespace dalvo::platform
