#pragma once
// The page around the game: what the browser build shows and takes outside the
// canvas (automation output, the trace, the input box of the name entry, links,
// stored saves). Every function here runs on the game's one thread.

#include <optional>
#include <string>
#include <string_view>

#include "platform/gfx/surface.h"

namespace dalvo::platform::page {

// The value of `name` in the page address's query ("input" of ?input=FILE).
std::string query(std::string_view name);
// Fetches a file relative to the page; nullopt when it cannot be had.
std::optional<std::string> fetch_text(const std::string& url);

// <img id="shot-NAME" src="data:image/png;base64,...">
void show_shot(const std::string& name, const Surface& picture);
// <pre id="dump-NAME">JSON</pre>
void show_dump(const std::string& name, const std::string& json);
// One line more in <pre id="trace">.
void trace_line(const std::string& line);
void set_title(const std::string& title);
// Notes the page's clock at a moment (data-NAME on the page's body), for the figures.
void mark(const std::string& name);
void open_url(const std::string& url);

// The page's own text box over the game's focused one, so that the browser's input
// method can compose into it; its committed text comes back through take_text().
void show_text_box(int x, int y, int width, int height);
void hide_text_box();
std::string take_text();

// Saves: the folder `dir` keeps what the game writes into it across reloads.
// restore() brings back what was stored (waits for the browser's store);
// store_file() and unstore_file() carry a change of one file of that folder over to
// the browser's store and wait for it: an empty string, or what went wrong.
void restore(const std::string& dir);
std::string store_file(const std::string& path);
std::string unstore_file(const std::string& path);

}  // namespace dalvo::platform::page
