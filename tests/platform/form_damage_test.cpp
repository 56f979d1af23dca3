// The damage region: whatever changes what a form shows adds its place, so that a
// present draws only that and still comes out exactly as a whole compose would; and
// every kind of visible change reaches the screen as a `present` event that covers it.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/ui/form.h"
#include "platform/gfx/damage.h"
#include "platform/platform.h"
#include "support/json_value.h"
#include "support/picture_check.h"

namespace dalvo::platform {
namespace {

using test::composed;

bool covered(const Damage& d, int x, int y) {
    return std::any_of(d.begin(), d.end(), [&](const Rect& r) { return r.contains({x, y}); });
}

// Whether every pixel that differs between the two pictures lies in `r`.
bool covers_changes(const Rect& r, const Surface& before, const Surface& after) {
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.get(x, y) != after.get(x, y) && !r.contains({x, y})) return false;
        }
    }
    return true;
}

TEST(Damage, KeepsAFewSeparateRectanglesAndMergesWhatMeets) {
    Damage d;
    d.add({0, 0, 10, 10});
    d.add({100, 100, 5, 5});
    d.add({10, 0, 5, 5});  // touches the first
    EXPECT_EQ(std::distance(d.begin(), d.end()), 2);
    EXPECT_NE(std::find(d.begin(), d.end(), Rect{0, 0, 15, 10}), d.end());
    for (int i = 0; i < 6; ++i) d.add({200 + 20 * i, 300, 4, 4});
    EXPECT_LE(static_cast<std::size_t>(std::distance(d.begin(), d.end())), Damage::kMaxRects);
    EXPECT_EQ(d.bounds(), (Rect{0, 0, 304, 304}));
    for (int x : {0, 102, 200, 300}) EXPECT_TRUE(covered(d, x, x == 0 ? 0 : x == 102 ? 102 : 300));
}

struct Scene {
    Form form{"Main_Form", "DALVO!", 96, 64};
    Control& stage = form.add("Pic_Main", ControlKind::Picture);
    Control& frame = form.add("TxtFrame1(0)", ControlKind::Picture);
    Control& label = frame.add("Label1", ControlKind::Label);
    Control& mark = frame.add("Blinker", ControlKind::Shape);
    Control& line = form.add("Line1", ControlKind::Line);

    Scene() {
        form.image.fill_rect(0, 0, 96, 64, rgb(32, 48, 64));
        stage.move(0, 0, 96, 40);
        test::paint(stage.image, [](int x, int y) { return rgb(x * 2, y * 5, (x ^ y) & 0xFF); });
        frame.move(4, 40, 88, 22);
        label.move(2, 2, 60, 16);
        label.caption = "ab";
        label.back_opaque = false;
        label.fore_color = kWhite;
        mark.filled = true;
        mark.fill_color = kWhite;
        mark.move(78, 12, 6, 6);
        line.x1 = 10, line.y1 = 30, line.x2 = 50, line.y2 = 34;
        line.border_color = kWhite;
    }
};

// Every kind of change a player can see, at random on a shown form: the screen, drawn
// again only where the form was damaged, equals the form composed whole, and a change
// that shows is one present event whose rectangle covers every pixel that changed; a
// refresh that changes nothing the player sees (the backdrop under the stage) presents nothing.
TEST(FormDamage, EveryVisibleChangeIsPresentedWhereItChangedAndRecomposedExactly) {
    auto set = make_headless_platform({});
    Host& host = set->platform().host;
    std::vector<test::Json> presents;
    set->platform().trace.add_observer([&](const std::string& line) {
        if (test::Json e = test::Json::parse(line); e["ev"].str() == "present") presents.push_back(e);
    });
    Scene s;
    EXPECT_EQ(s.form.take_damage().bounds(), (Rect{0, 0, 96, 64}));  // a new form is drawn whole
    EXPECT_TRUE(s.form.take_damage().empty());                         // nothing changed since
    host.show_form(s.form);
    host.yield();
    ASSERT_EQ(presents.size(), 1u);
    EXPECT_EQ(presents[0]["form"].str(), "Main_Form");

    std::mt19937 dice(7);
    auto roll = [&](int n) { return static_cast<int>(dice() % static_cast<unsigned>(n)); };
    Surface& backdrop = s.form.image;  // the form's own picture, under its controls
    for (int step = 0; step < 300; ++step) {
        const Surface before = *host.screen(s.form);
        presents.clear();
        switch (roll(9)) {
            case 0: s.mark.visible = !s.mark.visible; break;
            case 1: s.mark.move(roll(90) - 4, roll(24) - 4); break;
            case 2: s.label.caption = std::string(1 + roll(4), static_cast<char>('a' + roll(26))); break;
            case 3: s.frame.visible = !s.frame.visible; break;
            case 4: s.line.x2 = roll(96), s.line.y2 = roll(64), s.line.border_width = roll(3); break;
            case 5: s.stage.image.set(roll(96), roll(40), rgb(roll(256), 0, 0)); s.stage.refresh(); break;
            case 6: s.label.fore_color = rgb(roll(256), 0, 0), s.label.enabled = roll(2) == 0; break;
            case 7: s.mark.fill_color = rgb(0, roll(256), 0); break;
            case 8: backdrop.fill_rect(roll(96), roll(64), 8, 8, rgb(0, 0, roll(256))); backdrop.refresh(); break;
        }
        host.yield();
        const Surface& after = *host.screen(s.form);
        ASSERT_TRUE(after == composed(s.form)) << "step " << step;
        ASSERT_EQ(presents.size(), after == before ? 0u : 1u) << "step " << step;
        if (presents.empty()) continue;
        const test::Json& rect = presents[0]["rect"];  // [x,y,w,h]
        ASSERT_EQ(rect.size(), 4u) << presents[0];
        const auto at = [&rect](std::size_t i) { return static_cast<int>(rect[i].num()); };
        ASSERT_TRUE(covers_changes(Rect{at(0), at(1), at(2), at(3)}, before, after)) << "step " << step;
    }

    // A refresh presents at once, before any yield; drawing alone shows nothing.
    presents.clear();
    s.stage.image.fill_rect(0, 0, 4, 4, kWhite);
    host.yield();
    EXPECT_TRUE(presents.empty());
    EXPECT_NE(host.screen(s.form)->get(1, 1), kWhite);
    s.stage.refresh();
    EXPECT_EQ(presents.size(), 1u);
    EXPECT_EQ(host.screen(s.form)->get(1, 1), kWhite);
}

}  // namespace
}  // namespace dalvo::platform
