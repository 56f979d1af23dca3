#pragma once
// The parts of a form's client area whose pixels may have changed since the last
// present. Whoever changes something visible adds its place, before and after the
// change; a present takes the region and draws only what lies inside.

#include <array>
#include <cstddef>

#include "platform/gfx/geometry.h"

namespace dalvo::platform {

class Damage {
public:
    // A few separate rectangles at most: a blinking mark and a stage frame far apart
    // stay two small areas; beyond that the nearest ones merge.
    static constexpr std::size_t kMaxRects = 4;

    void add(const Rect& r);
    bool empty() const { return count_ == 0; }
    const Rect* begin() const { return rects_.data(); }
    const Rect* end() const { return rects_.data() + count_; }
    Rect bounds() const;
    void clear() { count_ = 0; }

private:
    std::array<Rect, kMaxRects> rects_{};
    std::size_t count_ = 0;
};

}  // namespace dalvo::platform
