#include "platform/gfx/damage.h"

namespace dalvo::platform {

namespace {

long long area(const Rect& r) { return r.empty() ? 0 : static_cast<long long>(r.w) * r.h; }

// Rectangles that overlap or touch are better drawn as one.
bool meet(const Rect& a, const Rect& b) {
    return a.x <= b.right() && b.x <= a.right() && a.y <= b.bottom() && b.y <= a.bottom();
}

}  // namespace

void Damage::add(const Rect& r) {
    if (r.empty()) return;
    Rect merged = r;
    // Absorb every rectangle the new one meets (merging may make it meet more).
    for (bool again = true; again;) {
        again = false;
        for (std::size_t i = 0; i < count_; ++i) {
            if (!meet(rects_[i], merged)) continue;
            merged = bounding(merged, rects_[i]);
            rects_[i] = rects_[--count_];
            again = true;
            break;
        }
    }
    if (count_ < kMaxRects) {
        rects_[count_++] = merged;
        return;
    }
    // Full: join the pair whose bounding rectangle wastes the least.
    std::size_t best = 0;
    long long best_waste = -1;
    for (std::size_t i = 0; i < count_; ++i) {
        const long long waste = area(bounding(rects_[i], merged)) - area(rects_[i]) - area(merged);
        if (best_waste < 0 || waste < best_waste) {
            best = i;
            best_waste = waste;
        }
    }
    merged = bounding(rects_[best], merged);
    rects_[best] = rects_[--count_];
    add(merged);
}

Rect Damage::bounds() const {
    Rect all;
    for (const Rect& r : *this) all = bounding(all, r);
    return all;
}

}  // namespace dalvo::platform
