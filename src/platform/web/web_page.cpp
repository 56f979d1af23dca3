#include "platform/web/web_page.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// clang-format off
EM_JS(char*, dalvo_query, (const char* name), {
    const v = new URLSearchParams(location.search).get(UTF8ToString(name));
    return v === null ? 0 : allocateUTF8(v);
});

EM_ASYNC_JS(char*, dalvo_fetch, (const char* url), {
    try {
        const r = await fetch(UTF8ToString(url), {cache: 'no-store'});
        if (!r.ok) return 0;
        return allocateUTF8(await r.text());
    } catch (e) {
        return 0;
    }
});

EM_JS(void, dalvo_show_shot, (const char* name, const unsigned char* pixels, int w, int h), {
    const canvas = document.createElement('canvas');
    canvas.width = w;
    canvas.height = h;
    const ctx = canvas.getContext('2d');
    const image = ctx.createImageData(w, h);
    const src = HEAPU8.subarray(pixels, pixels + w * h * 4);
    const dst = image.data;
    for (let i = 0; i < w * h * 4; i += 4) {  // 0x00RRGGBB little-endian: B G R 0
        dst[i] = src[i + 2];
        dst[i + 1] = src[i + 1];
        dst[i + 2] = src[i];
        dst[i + 3] = 255;
    }
    ctx.putImageData(image, 0, 0);
    const id = 'shot-' + UTF8ToString(name);
    let img = document.getElementById(id);
    if (!img) {
        img = document.createElement('img');
        img.id = id;
        document.getElementById('automation').appendChild(img);
    }
    img.src = canvas.toDataURL('image/png');
});

// Pixels 0x00RRGGBB into the canvas's RGBA, the part given only.
EM_JS(void, dalvo_paint, (const unsigned int* pixels, int width, int height, int x, int y, int w, int h), {
    const canvas = Module.canvas;
    if (canvas.width !== width || canvas.height !== height) return;
    const ctx = Module.dalvoContext || (Module.dalvoContext = canvas.getContext('2d'));
    let image = Module.dalvoImage;
    if (!image || image.width !== width || image.height !== height) {
        image = Module.dalvoImage = ctx.createImageData(width, height);
    }
    const dst = new Uint32Array(image.data.buffer);
    const src = HEAPU32;
    for (let row = y; row < y + h; ++row) {
        const from = (pixels >> 2) + row * width, to = row * width;
        for (let i = x; i < x + w; ++i) {
            const p = src[from + i];
            dst[to + i] = 0xFF000000 | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
        }
    }
    ctx.putImageData(image, 0, 0, x, y, w, h);
});

EM_JS(void, dalvo_show_dump, (const char* name, const char* json), {
    const id = 'dump-' + UTF8ToString(name);
    let pre = document.getElementById(id);
    if (!pre) {
        pre = document.createElement('pre');
        pre.id = id;
        document.getElementById('automation').appendChild(pre);
    }
    pre.textContent = UTF8ToString(json);
});

EM_JS(void, dalvo_trace_line, (const char* line), {
    if (window.dalvoPage) window.dalvoPage.trace(UTF8ToString(line));
});

EM_JS(void, dalvo_mark, (const char* name), {
    document.body.dataset[UTF8ToString(name)] = performance.now().toFixed(0);
    if (window.dalvoPage && window.dalvoPage.marked) window.dalvoPage.marked(UTF8ToString(name));
});

EM_JS(void, dalvo_set_title, (const char* title), { document.title = UTF8ToString(title); });

EM_JS(void, dalvo_ended, (), {
    if (window.dalvoPage) window.dalvoPage.ended();
});

EM_JS(void, dalvo_open_url, (const char* url), { window.open(UTF8ToString(url), '_blank', 'noopener'); });

EM_JS(void, dalvo_show_text_box, (int x, int y, int w, int h), {
    if (window.dalvoPage) window.dalvoPage.showTextBox(x, y, w, h);
});
EM_JS(void, dalvo_hide_text_box, (), {
    if (window.dalvoPage) window.dalvoPage.hideTextBox();
});
// Each item: 'e' (composing) or 'c' (committed), the page's time in milliseconds, a unit
// separator, its text, then a record separator.
EM_JS(char*, dalvo_take_typing, (), {
    const t = window.dalvoPage ? window.dalvoPage.takeTyping() : [];
    const item = (i) => i[0] + i[2].toFixed(3) + String.fromCharCode(31) + i[1] + String.fromCharCode(30);
    return t.length ? allocateUTF8(t.map(item).join("")) : 0;
});

// Waits until the page has put a file of its manifest in place (at most `wait_ms`);
// false when it has not.
EM_ASYNC_JS(int, dalvo_want_file, (const char* path_name, int wait_ms), {
    const path = UTF8ToString(path_name).slice(1);  /* the manifest's paths have no leading slash */
    if (!window.dalvoPage || !window.dalvoPage.loadLater) return 0;
    const late = new Promise((done) => setTimeout(() => done(false), wait_ms));
    return (await Promise.race([window.dalvoPage.loadLater(path).then(() => true, () => false), late])) ? 1 : 0;
});

// Copies a file of the restored folder into the store (or removes it there) and waits
// until the browser's database has it; a message when that failed.
EM_ASYNC_JS(char*, dalvo_store_file, (const char* path_name, int removed), {
    const kept = Module.dalvoStore;
    if (!kept) return 0;  // no store: the saves last as long as the page
    const path = UTF8ToString(path_name);
    if (!path.startsWith(kept.dir + '/')) return 0;
    const name = path.slice(kept.dir.length + 1);
    if (name.includes('/')) return 0;
    try {
        if (removed) {
            try { FS.unlink(kept.store + '/' + name); } catch (e) {}
        } else {
            FS.writeFile(kept.store + '/' + name, FS.readFile(path));
        }
    } catch (e) {
        return allocateUTF8('the browser could not keep ' + name + ': ' + e);
    }
    const err = await new Promise((done) => FS.syncfs(false, (e) => done(e)));
    if (err) return allocateUTF8('the browser could not store ' + name + ': ' + err);
    if (!removed && window.dalvoPage && window.dalvoPage.stored) window.dalvoPage.stored(name);
    return 0;
});
// clang-format on

std::string take(char* p) {
    if (p == nullptr) return {};
    std::string s(p);
    std::free(p);
    return s;
}

}  // namespace

namespace dalvo::platform::page {

std::string query(std::string_view name) { return take(dalvo_query(std::string(name).c_str())); }

std::optional<std::string> fetch_text(const std::string& url) {
    char* p = dalvo_fetch(url.c_str());
    if (p == nullptr) return std::nullopt;
    return take(p);
}

void show_shot(const std::string& name, const Surface& picture) {
    dalvo_show_shot(name.c_str(), reinterpret_cast<const unsigned char*>(picture.data()), picture.width(),
                    picture.height());
}

void paint(const Surface& screen, const Rect& part) {
    dalvo_paint(reinterpret_cast<const unsigned int*>(screen.data()), screen.width(), screen.height(), part.x, part.y,
                part.w, part.h);
}

void show_dump(const std::string& name, const std::string& json) { dalvo_show_dump(name.c_str(), json.c_str()); }
void trace_line(const std::string& line) { dalvo_trace_line(line.c_str()); }
void mark(const std::string& name) { dalvo_mark(name.c_str()); }
void set_title(const std::string& title) { dalvo_set_title(title.c_str()); }
void ended() { dalvo_ended(); }
void open_url(const std::string& url) { dalvo_open_url(url.c_str()); }
void show_text_box(int x, int y, int width, int height) { dalvo_show_text_box(x, y, width, height); }
void hide_text_box() { dalvo_hide_text_box(); }
std::vector<Typed> take_typing() {
    const std::string all = take(dalvo_take_typing());
    std::vector<Typed> out;
    std::size_t at = 0;
    while (at < all.size()) {
        std::size_t end = all.find('\x1e', at);
        if (end == std::string::npos) end = all.size();
        const std::size_t text = std::min(all.find('\x1f', at), end);
        const double page_ms = std::strtod(all.substr(at + 1, text - at - 1).c_str(), nullptr);
        const std::size_t from = std::min(text + 1, end);
        out.push_back(Typed{all[at] == 'e', all.substr(from, end - from), page_ms});
        at = end + 1;
    }
    return out;
}
bool want_file(const std::string& path, int wait_ms) { return dalvo_want_file(path.c_str(), wait_ms) != 0; }
std::string store_file(const std::string& path) { return take(dalvo_store_file(path.c_str(), 0)); }
std::string unstore_file(const std::string& path) { return take(dalvo_store_file(path.c_str(), 1)); }

}  // namespace dalvo::platform::page
