// Forms: which control a point reaches, and how controls compose into the form's picture.

#include <gtest/gtest.h>

#include "platform/ui/form.h"

namespace dalvo::platform {
namespace {

// A control added to `parent` and placed there.
template <class Parent>
Control& placed(Parent& parent, std::string name, ControlKind kind, int left, int top, int width, int height) {
    Control& control = parent.add(std::move(name), kind);
    control.move(left, top, width, height);
    return control;
}

TEST(Form, HitTestTakesTheTopmostShownEnabledControlAndDescends) {
    Form form("Main_Form", "DALVO!", 640, 480);
    Control& stage = placed(form, "Pic_Main", ControlKind::Picture, 0, 0, 640, 368);
    Control& doll = placed(form, "Doll_Disp(1)", ControlKind::Picture, 200, 100, 100, 268);
    Control& frame = placed(form, "TxtFrame1(0)", ControlKind::Picture, 20, 368, 600, 104);
    Control& text = placed(frame, "TxtFrame1(1)", ControlKind::Picture, 11, 11, 578, 82);
    placed(text, "Blinker", ControlKind::Shape, 570, 74, 8, 8);
    Control& label = placed(text, "SelTxt(0)", ControlKind::Label, 0, 18, 200, 16);

    EXPECT_EQ(form.hit_test(250, 200), &doll);
    EXPECT_EQ(form.hit_test(10, 10), &stage);
    EXPECT_EQ(form.find("SelTxt(0)"), &label);  // found at any depth
    EXPECT_EQ(frame.find("SelTxt(1)"), nullptr);
    EXPECT_EQ(form.hit_test(40, 400), &label);            // 20+11+0 .. , 368+11+18
    EXPECT_EQ(form.hit_test(20 + 11 + 572, 368 + 11 + 76), &text);  // a shape lets clicks through
    EXPECT_EQ(form.hit_test(22, 370), &frame);
    EXPECT_EQ(form.hit_test(5, 400), nullptr);            // the bare form

    doll.visible = false;
    EXPECT_EQ(form.hit_test(250, 200), &stage);
    doll.visible = true;
    doll.enabled = false;
    EXPECT_EQ(form.hit_test(250, 200), &stage);
    text.visible = false;  // hides its children too
    EXPECT_EQ(form.hit_test(40, 400), &frame);
}

TEST(Control, MoveKeepsThePixelsOfAPicture) {
    Form form("F", "", 100, 100);
    Control& pic = placed(form, "P", ControlKind::Picture, 0, 0, 4, 4);
    pic.image.set(1, 1, platform::Color{0x0000FF});
    pic.move(10, 10, 8, 2);
    EXPECT_EQ((std::pair{pic.image.width(), pic.image.height()}), (std::pair{8, 2}));
    EXPECT_EQ(pic.image.get(1, 1), platform::Color{0x0000FF});
}

class ComposeTest : public testing::Test {
protected:
    ComposeTest() : form("F", "", 40, 30) {
        form.image.fill_rect(0, 0, 40, 30, platform::Color{0x102030});
    }
    Color at(int x, int y) {
        compose(form, out);
        return out.get(x, y);
    }
    Form form;
    Surface out;
};

TEST_F(ComposeTest, DrawsPicturesClippedToTheirParentAndSkipsHiddenOnes) {
    Control& outer = placed(form, "outer", ControlKind::Picture, 5, 5, 10, 10);
    outer.image.fill_rect(0, 0, 10, 10, platform::Color{0x0000FF});
    Control& inner = placed(outer, "inner", ControlKind::Picture, 8, 8, 10, 10);  // sticks out of its parent
    inner.image.fill_rect(0, 0, 10, 10, platform::Color{0x00FF00});
    EXPECT_EQ(at(0, 0), platform::Color{0x102030});
    EXPECT_EQ(at(5, 5), platform::Color{0x0000FF});
    EXPECT_EQ(at(13, 13), platform::Color{0x00FF00});
    EXPECT_EQ(at(16, 16), platform::Color{0x102030});  // clipped away
    outer.visible = false;
    EXPECT_EQ(at(13, 13), platform::Color{0x102030});
}


TEST_F(ComposeTest, ShapesDrawBorderAndFillAndRoundTheirCorners) {
    Control& shape = placed(form, "Shape1", ControlKind::Shape, 0, 0, 30, 24);
    shape.border_width = 1;
    shape.border_color = platform::Color{0x0000FF};
    EXPECT_EQ(at(29, 23), platform::Color{0x0000FF});
    EXPECT_EQ(at(10, 10), platform::Color{0x102030});  // not filled: transparent inside
    shape.filled = true;
    shape.fill_color = platform::Color{0xFFFFFF};
    EXPECT_EQ(at(10, 10), platform::Color{0xFFFFFF});
    shape.shape = ShapeKind::RoundedRectangle;  // radius 4: the corner pixel stays clear
    EXPECT_EQ(at(0, 0), platform::Color{0x102030});
    EXPECT_EQ(at(0, 12), platform::Color{0x0000FF});
}

TEST_F(ComposeTest, LinesUseTheirParentsCoordinatesAndButtonsTheClassicFace) {
    Control& line = form.add("Line1", ControlKind::Line);
    line.x1 = 0;
    line.y1 = 29;
    line.x2 = 39;
    line.y2 = 29;
    line.border_color = platform::Color{0xFFFFFF};
    EXPECT_EQ(at(20, 29), platform::Color{0xFFFFFF});
    placed(form, "Command1", ControlKind::Button, 0, 0, 20, 10);
    EXPECT_EQ(at(0, 0), platform::Color{0xFFFFFF});    // raised: light top-left edge
    EXPECT_EQ(at(19, 9), platform::Color{0x000000});   // dark bottom-right edge
    EXPECT_EQ(at(2, 2), platform::Color{0xC0C0C0});    // the face
}

}  // namespace
}  // namespace dalvo::platform
