// Recomposing only what changed: the damaged rectangle covers every pixel that differs,
// and composing just that rectangle over the old picture gives the new one exactly.

#include <gtest/gtest.h>

#include <random>

#include "platform/form.h"
#include "platform/sdl/form_signature.h"

namespace dalvo::platform {
namespace {

Surface composed(const Form& form) {
    Surface out;
    compose(form, out);
    return out;
}

bool inside(const ClientRect& r, int x, int y) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; }

TEST(FormDamage, CoversEveryChangedPixelAndRecomposesItExactly) {
    Form form("Main_Form", "DALVO!", 96, 64);
    form.image.fill_rect(0, 0, 96, 64, rgb(32, 48, 64));
    Control& stage = form.add("Pic_Main", ControlKind::Picture);
    stage.move(0, 0, 96, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 96; ++x) stage.image.set(x, y, rgb(x * 2, y * 5, (x ^ y) & 0xFF));
    }
    Control& frame = form.add("TxtFrame1(0)", ControlKind::Picture);
    frame.move(4, 40, 88, 22);
    Control& label = frame.add("Label1", ControlKind::Label);
    label.move(2, 2, 60, 16);
    label.caption = "ab";
    label.back_opaque = false;
    Control& mark = frame.add("Blinker", ControlKind::Shape);
    mark.filled = true;
    mark.fill_color = kWhite;
    mark.move(78, 12, 6, 6);
    Control& line = form.add("Line1", ControlKind::Line);
    line.x1 = 10, line.y1 = 30, line.x2 = 50, line.y2 = 34;
    line.border_color = kWhite;

    FormDamage damage;
    EXPECT_EQ(damage.update(form), (ClientRect{0, 0, 96, 64}));  // the first look is whole
    EXPECT_TRUE(damage.update(form).empty());                     // nothing changed since

    std::mt19937 dice(7);
    auto roll = [&](int n) { return static_cast<int>(dice() % static_cast<unsigned>(n)); };
    Surface picture = composed(form);
    for (int step = 0; step < 300; ++step) {
        switch (roll(6)) {
            case 0: mark.visible = !mark.visible; break;
            case 1: mark.move(roll(90) - 4, roll(24) - 4, 6, 6); break;
            case 2: label.caption = std::string(1 + roll(4), static_cast<char>('a' + roll(26))); break;
            case 3: frame.visible = !frame.visible; break;
            case 4: line.x2 = roll(96), line.y2 = roll(64), line.border_width = roll(3); break;
            case 5: stage.image.set(roll(96), roll(40), rgb(roll(256), 0, 0)); stage.refresh(); break;
        }
        const ClientRect area = damage.update(form);
        const Surface whole = composed(form);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 96; ++x) {
                if (picture.get(x, y) != whole.get(x, y)) {
                    ASSERT_TRUE(inside(area, x, y)) << "step " << step;
                }
            }
        }
        compose(form, picture, area);
        ASSERT_TRUE(picture == whole) << "step " << step;
    }

    // A new control changes the form itself: drawn whole.
    form.add("Label2", ControlKind::Label);
    EXPECT_EQ(damage.update(form), (ClientRect{0, 0, 96, 64}));
}

}  // namespace
}  // namespace dalvo::platform
