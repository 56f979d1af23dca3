#include "platform/ui/screen.h"

#include <cstring>

namespace dalvo::platform {

namespace {

// The part of `r` where `now` differs from `before` (which holds r's pixels at its origin).
Rect changed_part(const Surface& before, const Surface& now, const Rect& r) {
    int x0 = r.right(), x1 = r.x, y0 = r.bottom(), y1 = r.y;
    for (int y = r.y; y < r.bottom(); ++y) {
        const Pixel* was = before.row(y - r.y);
        const Pixel* is = now.row(y) + r.x;
        if (std::memcmp(was, is, static_cast<std::size_t>(r.w) * sizeof(Pixel)) == 0) continue;
        int first = 0, last = r.w - 1;
        while (was[first] == is[first]) ++first;
        while (was[last] == is[last]) --last;
        x0 = std::min(x0, r.x + first);
        x1 = std::max(x1, r.x + last + 1);
        y0 = std::min(y0, y);
        y1 = y + 1;
    }
    if (x1 <= x0) return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

}  // namespace

Damage Screen::present(Form& form) {
    Damage damage = form.take_damage();
    Surface& picture = pictures_[&form];
    Damage changed;
    if (picture.width() != form.client_width || picture.height() != form.client_height) {
        // A new window starts black, as a fresh one on the desktop would.
        picture = Surface(form.client_width, form.client_height);
        damage.clear();
        damage.add({0, 0, form.client_width, form.client_height});
    }
    for (const Rect& r : damage) {
        before_.reshape_for_overwrite(r.w, r.h);
        bit_blt(before_, 0, 0, r.w, r.h, picture, r.x, r.y, Rop::SrcCopy);
        compose(form, picture, r);
        changed.add(changed_part(before_, picture, r));
    }
    return changed;
}

const Surface* Screen::picture(const Form& form) const {
    const auto it = pictures_.find(&form);
    return it == pictures_.end() ? nullptr : &it->second;
}

void Screen::forget(const Form& form) { pictures_.erase(&form); }

}  // namespace dalvo::platform
