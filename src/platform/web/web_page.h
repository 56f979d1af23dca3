#pragma once
// The page around the game: what the browser build shows and takes outside the
// canvas (automation output, the trace, the input box of the name entry, links,
// stored saves). Every function here runs on the game's one thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/geometry.h"
#include "platform/gfx/surface.h"

namespace dalvo::platform::page {

// The value of `name` in the page address's query ("input" of ?input=FILE).
std::string query(std::string_view name);
// Fetches a file relative to the page; nullopt when it cannot be had.
std::optional<std::string> fetch_text(const std::string& url);

// Puts `part` of the game's picture of the whole canvas onto the page's canvas.
void paint(const Surface& screen, const Rect& part);

// <img id="shot-NAME" src="data:image/png;base64,...">
void show_shot(const std::string& name, const Surface& picture);
// <pre id="dump-NAME">JSON</pre>
void show_dump(const std::string& name, const std::string& json);
// One line more in <pre id="trace">.
void trace_line(const std::string& line);
void set_title(const std::string& title);
// The game has ended: the page says so where the game was.
void ended();
// Notes the page's clock at a moment (data-NAME on the page's body), for the figures.
void mark(const std::string& name);
void open_url(const std::string& url);

// The page's own text box over the game's focused one, so that the browser's input
// method can compose into it; what it typed since the last call comes back through
// take_typing(), in order: the composition as it changes, then the committed text.
void show_text_box(int x, int y, int width, int height);
void hide_text_box();
struct Typed {
    bool composing = false;
    std::string text;
    double page_ms = 0;  // when it was typed, on the page's clock (emscripten_get_now)
};
std::vector<Typed> take_typing();

// A file the page loads after the game has started (a piece of music, the whole
// Japanese font): asks for it first and waits until it is in place, at most `wait_ms`;
// false when it is not.
bool want_file(const std::string& path, int wait_ms);

// Saves: the page brings back what the browser stored of the data folder before the
// game starts; store_file() and unstore_file() carry a change of one file of that
// folder over to the browser's store and wait for it: an empty string, or what went
// wrong.
std::string store_file(const std::string& path);
std::string unstore_file(const std::string& path);

}  // namespace dalvo::platform::page
