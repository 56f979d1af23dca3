#pragma once
// A software 32-bit picture: the persistent image of a picture surface.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/color.h"

namespace dalvo::platform {

// The raster operations of the original graphics interface, with their codes.
enum class Rop : std::uint32_t {
    SrcCopy = 0x00CC0020,    // destination = source
    SrcAnd = 0x008800C6,     // destination = destination AND source
    SrcInvert = 0x00660046,  // destination = destination XOR source
};

// A font as the game asks for it; `size` is in points.
struct FontSpec {
    std::string name = "ＭＳ ゴシック";
    double size = 9.0;
    bool bold = false;
    bool italic = false;
    bool operator==(const FontSpec&) const = default;
};

// The pixels of one surface in one block. A black block comes zeroed from the system,
// so pages nothing draws on are never touched: the window load prepares many large
// pictures that stay black until a scene uses them.
class PixelStore {
public:
    PixelStore() = default;
    PixelStore(std::size_t count, Pixel fill);
    // Pixels of any value, for a caller that writes them all.
    static PixelStore for_overwrite(std::size_t count);
    PixelStore(const PixelStore& other);
    PixelStore& operator=(const PixelStore& other);
    PixelStore(PixelStore&&) noexcept = default;
    PixelStore& operator=(PixelStore&&) noexcept = default;

    Pixel* data() { return data_.get(); }
    const Pixel* data() const { return data_.get(); }
    Pixel* begin() { return data(); }
    Pixel* end() { return data() + size_; }
    bool operator==(const PixelStore& other) const;

private:
    struct Free {
        void operator()(Pixel* p) const;
    };
    std::unique_ptr<Pixel[], Free> data_;
    std::size_t size_ = 0;
};

// Told when a surface that shows on the screen is refreshed: its control or form.
class RefreshListener {
public:
    virtual void surface_refreshed() = 0;

protected:
    ~RefreshListener() = default;
};

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, Color fill = kBlack);
    // A copy is a plain picture: whoever listens to this surface stays with it, and an
    // assigned surface keeps its own listener.
    Surface(const Surface& other);
    Surface(Surface&& other) noexcept;
    Surface& operator=(const Surface& other);
    Surface& operator=(Surface&& other) noexcept;

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }

    // Changes the size; pixels inside both sizes stay, new ones take the background colour.
    void resize(int width, int height);
    // Changes the size for a caller about to write every pixel: nothing is kept or filled.
    void reshape_for_overwrite(int width, int height);

    Pixel* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const Pixel* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    Pixel* data() { return pixels_.data(); }
    const Pixel* data() const { return pixels_.data(); }

    // Colour-level access (0x00BBGGRR); out-of-range reads give black, writes are ignored.
    Color get(int x, int y) const;
    void set(int x, int y, Color c);

    void clear();  // fills with the background colour
    void fill_rect(int x, int y, int w, int h, Color c);
    void draw_line(int x1, int y1, int x2, int y2, Color c);
    void draw_rect(int x, int y, int w, int h, Color c);  // outline
    // Text in `font` and `fore_color` with its top-left corner at (x, y); transparent background.
    void draw_text(int x, int y, const std::string& utf8);

    // Puts what was drawn on the screen now when the surface shows there (a control's
    // or a form's image); a work surface that shows nowhere ignores it.
    void refresh() {
        if (listener_ != nullptr) listener_->surface_refreshed();
    }
    void set_listener(RefreshListener* listener) { listener_ = listener; }

    Color back_color = kBlack;
    Color fore_color = kBlack;
    FontSpec font;

    bool operator==(const Surface& o) const {
        return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
    }

private:
    int width_ = 0;
    int height_ = 0;
    PixelStore pixels_;
    RefreshListener* listener_ = nullptr;
};

// Block transfer of w x h pixels from (sx, sy) of src to (dx, dy) of dst, clipped
// against both surfaces. src and dst may be the same surface (overlap is handled).
void bit_blt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy,
             Rop rop);

// Stretching transfer (nearest neighbour), clipped like bit_blt.
void stretch_blt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx,
                 int sy, int sw, int sh, Rop rop);

}  // namespace dalvo::platform
