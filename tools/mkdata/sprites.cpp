// The four characters who stand on the stage, and the face strips of the first three.
// A face strip is cut from the same drawing as its sprite, so the three faces fit the
// sprite's face rectangle pixel for pixel.

#include <cmath>
#include <numbers>

#include "mkdata/pictures.h"

namespace dalvo::mkdata {
namespace {

enum class Hair { Long, Bob, TwinTails, Short };
enum class Expression { Calm, Smile, Troubled };

struct Look {
    int width, height;
    double head_x, head_y;  // centre of the head
    int face_x, face_y;     // the face rectangle inside the sprite
    Hair hair;
    Rgb hair_color, eye_color, uniform, collar, ribbon, legs;
    bool boy;
};

constexpr int kFaceSize = 80;
constexpr double kHeadR = 34;
constexpr Rgb kSkin = rgb(252, 222, 200);
constexpr Rgb kWhite = rgb(250, 250, 252);
constexpr Rgb kShoe = rgb(92, 58, 40);

// 早瀬, 楓, 千登世, 航: face rectangles at (80, 60), (60, 60) and (70, 70).
const Look kLooks[kSpriteCount] = {
    {240, 330, 120, 100, 80, 60, Hair::Long, rgb(130, 78, 48), rgb(110, 70, 40), rgb(40, 52, 96),
     kWhite, rgb(210, 50, 60), rgb(48, 44, 70), false},
    {200, 322, 100, 100, 60, 60, Hair::Bob, rgb(56, 44, 66), rgb(70, 60, 120), rgb(40, 52, 96), kWhite,
     rgb(60, 140, 200), rgb(236, 226, 222), false},
    {220, 306, 110, 110, 70, 70, Hair::TwinTails, rgb(222, 150, 80), rgb(40, 130, 90), rgb(40, 52, 96),
     kWhite, rgb(240, 170, 60), rgb(48, 44, 70), false},
    {240, 340, 120, 96, 0, 0, Hair::Short, rgb(60, 54, 50), rgb(60, 50, 40), rgb(42, 46, 64),
     rgb(42, 46, 64), rgb(200, 170, 60), rgb(42, 46, 64), true},
};

void draw_back_hair(Canvas& c, const Look& l) {
    const double x = l.head_x, y = l.head_y;
    switch (l.hair) {
    case Hair::Long:
        c.fill_round_rect(static_cast<int>(x - kHeadR - 8), static_cast<int>(y - 10),
                          static_cast<int>(2 * kHeadR + 16), 150, 30, shade(l.hair_color, -0.15));
        break;
    case Hair::Bob:
        c.fill_ellipse(x, y + 14, kHeadR + 10, kHeadR + 12, shade(l.hair_color, -0.15));
        break;
    case Hair::TwinTails:
        for (int side : {-1, 1}) {
            c.fill_ellipse(x + side * (kHeadR + 14), y + 50, 14, 52, shade(l.hair_color, -0.1));
            c.fill_circle(x + side * (kHeadR + 2), y - 20, 9, l.ribbon);
        }
        break;
    case Hair::Short:
        break;
    }
}

void draw_body(Canvas& c, const Look& l) {
    const double x = l.head_x, y = l.head_y;
    const double feet = l.height - 10;
    const double waist = y + 150;
    const double hem = l.boy ? feet - 8 : y + 150 + (feet - y - 150) * 0.38;

    // Legs, shoes.
    for (int side : {-1, 1}) {
        c.fill_rect(static_cast<int>(x + side * 16 - 10), static_cast<int>(waist), 20,
                    static_cast<int>(feet - waist), l.boy ? l.uniform : l.legs);
        c.fill_ellipse(x + side * 18, feet + 3, 15, 7, kShoe);
    }
    // Arms hang at the sides, hands by the hips.
    for (int side : {-1, 1}) {
        c.fill_polygon({{x + side * 56, y + 56}, {x + side * 72, y + 70}, {x + side * 70, y + 158},
                        {x + side * 54, y + 158}, {x + side * 48, y + 80}},
                       shade(l.uniform, 0.08));
        c.fill_circle(x + side * 62, y + 166, 9, kSkin);
    }
    // Neck and torso.
    c.fill_rect(static_cast<int>(x - 9), static_cast<int>(y + 26), 18, 30, shade(kSkin, -0.12));
    c.fill_polygon({{x - 56, y + 56}, {x + 56, y + 56}, {x + 44, waist + 4}, {x - 44, waist + 4}}, l.uniform);
    if (l.boy) {
        // Stand-up collar and a row of gilt buttons.
        c.fill_rect(static_cast<int>(x - 16), static_cast<int>(y + 44), 32, 14, shade(l.uniform, -0.2));
        for (int i = 0; i < 4; ++i) c.fill_circle(x, y + 72 + i * 22, 3, l.ribbon);
        c.fill_rect(static_cast<int>(x - 44), static_cast<int>(waist - 6), 88, 8, shade(l.uniform, -0.25));
    } else {
        // Sailor collar with its stripe, and the ribbon tied at the chest.
        c.fill_polygon({{x - 58, y + 56}, {x + 58, y + 56}, {x + 40, y + 82}, {x, y + 110}, {x - 40, y + 82}},
                       l.collar);
        c.fill_polygon({{x - 48, y + 62}, {x + 48, y + 62}, {x + 34, y + 78}, {x, y + 100}, {x - 34, y + 78}},
                       l.uniform);
        c.fill_polygon({{x - 20, y + 56}, {x + 20, y + 56}, {x, y + 88}}, shade(kSkin, -0.05));
        c.fill_polygon({{x, y + 96}, {x - 20, y + 86}, {x - 22, y + 106}}, l.ribbon);
        c.fill_polygon({{x, y + 96}, {x + 20, y + 86}, {x + 22, y + 106}}, l.ribbon);
        c.fill_polygon({{x - 4, y + 98}, {x - 14, y + 128}, {x - 6, y + 130}}, l.ribbon);
        c.fill_polygon({{x + 4, y + 98}, {x + 14, y + 128}, {x + 6, y + 130}}, l.ribbon);
        c.fill_circle(x, y + 97, 5, shade(l.ribbon, -0.2));
        // Pleated skirt.
        c.fill_polygon({{x - 44, waist}, {x + 44, waist}, {x + 66, hem}, {x - 66, hem}}, l.uniform);
        for (int i = -3; i <= 3; ++i)
            c.line(x + i * 11, waist + 4, x + i * 16.5, hem - 1, 1.5, shade(l.uniform, -0.3));
    }
}

void draw_head(Canvas& c, const Look& l, Expression e) {
    const double x = l.head_x, y = l.head_y;
    c.fill_ellipse(x, y, kHeadR, kHeadR + 2, kSkin);
    for (int side : {-1, 1}) c.fill_ellipse(x + side * (kHeadR - 1), y + 6, 5, 8, shade(kSkin, -0.08));

    // Hair over the top of the head, the fringe cut in points over the forehead.
    std::vector<Point> hair;
    for (int i = 0; i <= 16; ++i) {
        const double a = std::numbers::pi + std::numbers::pi * i / 16.0;
        hair.push_back({x + (kHeadR + 5) * std::cos(a), y - 2 + (kHeadR + 7) * std::sin(a)});
    }
    const int points = l.boy ? 5 : 6;
    for (int i = 0; i <= 2 * points; ++i) {
        const double px = x + kHeadR + 5 - (2 * kHeadR + 10) * i / (2.0 * points);
        const double py = (i % 2 == 0) ? y - (l.hair == Hair::Bob ? 2 : 6) : y - 18;
        hair.push_back({px, py});
    }
    c.fill_polygon(hair, l.hair_color);
    if (l.hair == Hair::Bob || l.hair == Hair::Long)
        for (int side : {-1, 1})
            c.fill_polygon({{x + side * (kHeadR + 5), y - 4}, {x + side * (kHeadR - 6), y - 8},
                            {x + side * (kHeadR - 4), y + 30}, {x + side * (kHeadR + 6), y + 34}},
                           l.hair_color);
    c.line(x - 14, y - 28, x - 4, y - 22, 3, shade(l.hair_color, 0.35));  // shine

    const Rgb ink = kInk;
    const double ey = y + 6;
    for (int side : {-1, 1}) {
        const double ex = x + side * 13;
        if (e == Expression::Smile) {
            c.line(ex - 6, ey + 2, ex, ey - 3, 2.5, ink);
            c.line(ex, ey - 3, ex + 6, ey + 2, 2.5, ink);
            c.fill_ellipse(ex + side * 4, ey + 12, 6, 3, rgb(250, 170, 170));
        } else {
            c.fill_ellipse(ex, ey, 6, 8, kWhite);
            c.fill_ellipse(ex, ey + 1, 4.5, 6.5, l.eye_color);
            c.fill_ellipse(ex, ey + 2, 2.2, 3.2, ink);
            c.fill_circle(ex + 1.5, ey - 2, 1.6, kWhite);
            c.line(ex - 7, ey - 8, ex + 7, ey - 8, 2, ink);  // upper lid
        }
        // Brows: level when calm or smiling, lifted at the inner end when troubled.
        const double inner = e == Expression::Troubled ? -17 : -13;
        c.line(ex - side * 6, ey + inner, ex + side * 6, ey - 13, 2, shade(l.hair_color, -0.3));
    }
    const double my = y + 22;
    switch (e) {
    case Expression::Calm:
        c.line(x - 4, my, x + 4, my, 2, rgb(190, 100, 100));
        break;
    case Expression::Smile:
        c.fill_ellipse(x, my, 7, 5, rgb(200, 80, 90));
        c.fill_rect(static_cast<int>(x - 8), static_cast<int>(my - 6), 16, 6, kSkin);
        break;
    case Expression::Troubled:
        c.line(x - 5, my + 1, x - 1, my - 1, 2, rgb(190, 100, 100));
        c.line(x - 1, my - 1, x + 5, my + 2, 2, rgb(190, 100, 100));
        c.fill_polygon({{x + 28, y - 12}, {x + 31, y - 4}, {x + 25, y - 4}}, rgb(170, 210, 250));
        c.fill_circle(x + 28, y - 3, 3, rgb(170, 210, 250));
        break;
    }
}

Canvas draw_character(int slot, Expression e) {
    const Look& l = kLooks[slot];
    Canvas c(l.width, l.height, kTransparent);
    draw_back_hair(c, l);
    draw_body(c, l);
    draw_head(c, l, e);
    return c;
}

}  // namespace

Canvas draw_sprite(int slot) { return draw_character(slot, Expression::Calm); }

Canvas draw_face_strip(int slot) {
    const Look& l = kLooks[slot];
    Canvas strip(kFaceSize, 3 * kFaceSize, kTransparent);
    const Expression faces[3] = {Expression::Calm, Expression::Smile, Expression::Troubled};
    for (int f = 0; f < 3; ++f)
        strip.draw(draw_character(slot, faces[f]).crop(l.face_x, l.face_y, kFaceSize, kFaceSize), 0,
                   f * kFaceSize);
    return strip;
}

}  // namespace dalvo::mkdata
