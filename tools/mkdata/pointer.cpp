// "select.cur": the pointer over the title's menu and the dialogs' buttons — a small
// pink arrow with a dark outline, its hot spot on the tip.

#include "mkdata/bmp.h"
#include "mkdata/pictures.h"

namespace dalvo::mkdata {
namespace {

constexpr int kSize = 32;
constexpr int kHotX = 2, kHotY = 2;

// 32-bit image plus the 1-bit mask (1 = transparent), as the cursor file stores them.
Bytes encode_cursor(const Canvas& image, const Canvas& shape) {
    Bytes bitmap;
    put_u32(bitmap, 40);
    put_u32(bitmap, kSize);
    put_u32(bitmap, 2 * kSize);  // image and mask together
    put_u16(bitmap, 1);
    put_u16(bitmap, 32);
    put_u32(bitmap, 0);
    put_u32(bitmap, kSize * kSize * 4 + kSize * 4);
    for (int i = 0; i < 4; ++i) put_u32(bitmap, 0);
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; ++x) {
            const Rgb p = image.get(x, y);
            const bool opaque = shape.get(x, y) != kTransparent;
            bitmap.push_back(opaque ? p.b : 0);
            bitmap.push_back(opaque ? p.g : 0);
            bitmap.push_back(opaque ? p.r : 0);
            bitmap.push_back(opaque ? 0xFF : 0);
        }
    for (int y = kSize - 1; y >= 0; --y)
        for (int byte = 0; byte < 4; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (shape.get(byte * 8 + bit, y) == kTransparent) bits |= static_cast<std::uint8_t>(0x80 >> bit);
            bitmap.push_back(bits);
        }

    Bytes out;
    put_u16(out, 0);  // reserved
    put_u16(out, 2);  // a cursor
    put_u16(out, 1);  // one image
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(0);  // no palette
    out.push_back(0);
    put_u16(out, kHotX);
    put_u16(out, kHotY);
    put_u32(out, static_cast<std::uint32_t>(bitmap.size()));
    put_u32(out, 6 + 16);
    out.insert(out.end(), bitmap.begin(), bitmap.end());
    return out;
}

}  // namespace

Bytes make_pointer() {
    const std::vector<Point> arrow{{2, 2}, {2, 24}, {8, 19}, {12, 28}, {16, 26}, {12, 17}, {20, 17}};
    Canvas shape(kSize, kSize), image(kSize, kSize);
    // The outline is the arrow drawn fat; the fill is the arrow itself.
    for (double dx : {-1.0, 0.0, 1.0})
        for (double dy : {-1.0, 0.0, 1.0}) {
            std::vector<Point> moved = arrow;
            for (Point& p : moved) p = {p.x + dx, p.y + dy};
            shape.fill_polygon(moved, kInk);
        }
    image.draw(shape, 0, 0);
    image.fill_polygon(arrow, rgb(255, 150, 190));
    image.fill_polygon({{4, 6}, {4, 14}, {8, 10}}, rgb(255, 230, 240));
    return encode_cursor(image, shape);
}

}  // namespace dalvo::mkdata
