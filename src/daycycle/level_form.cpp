// The level window's two pictures, drawn once when the window is made: a blackboard
// headed 勉強の成果 with a row for each subject and a grid every 20 points, and the
// colour bands the bars are cut from.

#include "daycycle/level_form.h"

#include <array>

#include "platform/gfx/font.h"

namespace dalvo {

namespace {

using platform::Color;
using platform::rgb;

constexpr int kWidth = 330;
constexpr int kHeight = 177;
constexpr int kFrame = 5;

constexpr Color kWood = rgb(120, 78, 36);
constexpr Color kWoodDark = rgb(72, 44, 16);
constexpr Color kSlate = rgb(28, 64, 44);
constexpr Color kChalk = rgb(236, 236, 220);
constexpr Color kGrid = rgb(96, 196, 104);
constexpr Color kGridMark = rgb(232, 56, 48);  // the line at 80: a bar from here on is red

constexpr std::array<const char*, 3> kSubjects = {"国語", "数学", "英語"};

void chalk_text(platform::Surface& s, int x, int y, const std::string& text, double points) {
    s.font = platform::FontSpec{"ＭＳ ゴシック", points, true, false};
    s.fore_color = kChalk;
    s.draw_text(x, y, text);
}

// A band lit at its top row and shaded at its bottom row, so a bar reads as a tube.
void band(platform::Surface& s, int top, Color c, Color light, Color dark) {
    s.fill_rect(0, top, s.width(), kStripHeight, c);
    s.fill_rect(0, top, s.width(), 2, light);
    s.fill_rect(0, top + kStripHeight - 2, s.width(), 2, dark);
}

}  // namespace

platform::Surface Draw_board() {
    platform::Surface s(kWidth, kHeight, kWood);
    s.fill_rect(0, 0, kWidth, kHeight, kWood);
    s.draw_rect(0, 0, kWidth, kHeight, kWoodDark);
    s.fill_rect(kFrame, kFrame, kWidth - 2 * kFrame, kHeight - 2 * kFrame, kSlate);
    s.draw_rect(kFrame - 1, kFrame - 1, kWidth - 2 * kFrame + 2, kHeight - 2 * kFrame + 2, kWoodDark);

    const std::string heading = "勉強の成果";
    const platform::FontSpec heading_font{"ＭＳ ゴシック", 12, true, false};
    chalk_text(s, (kWidth - platform::text_width(heading_font, heading)) / 2, 14, heading, 12);
    s.fill_rect(kFrame + 10, 34, kWidth - 2 * kFrame - 20, 1, kChalk);

    // One line every 20 points of bar length, from 0 to 100.
    for (int v = 0; v <= 100; v += 20) {
        const int x = kBarLeft + kStripWidth * v;
        s.draw_line(x, 42, x, 162, v == 80 ? kGridMark : kGrid);
    }
    const platform::FontSpec row_font{"ＭＳ ゴシック", 12, true, false};
    for (int i = 0; i < 3; ++i) {
        const int top = kBarTop + kBarStep * i;
        const int y = top + (kStripHeight - platform::text_height(row_font)) / 2;
        chalk_text(s, 48, y, kSubjects[i], 12);
    }
    return s;
}

platform::Surface Draw_beam() {
    platform::Surface s(10, 64);
    band(s, kBeamBlue, rgb(40, 96, 232), rgb(120, 168, 255), rgb(16, 48, 160));
    band(s, kBeamGreen, rgb(40, 184, 72), rgb(128, 232, 144), rgb(16, 112, 40));
    band(s, kBeamOrange, rgb(248, 152, 32), rgb(255, 208, 120), rgb(176, 96, 8));
    band(s, kBeamRed, rgb(224, 40, 40), rgb(255, 128, 120), rgb(144, 16, 16));
    return s;
}

LevelForm::LevelForm() : board(Draw_board()) {
    lv = &form.add("lv", platform::ControlKind::Picture);
    lv->move(0, 0, kWidth, kHeight);
    lv->image = board;
    beam = &form.add("beam", platform::ControlKind::Picture);
    beam->visible = false;
    beam->move(0, 0, 10, 64);
    beam->image = Draw_beam();
}

}  // namespace dalvo
