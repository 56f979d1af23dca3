#include "ending/staff_roll.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "engine/game.h"
#include "platform/gfx/font.h"
#include "stage/bitmap.h"
#include "stage/color_filter.h"
#include "stage/stage_util.h"

namespace dalvo {

namespace {

using platform::Control;
using platform::FontSpec;
using platform::Rop;

constexpr platform::Color kShadowGrey = platform::Color{0x808080};
constexpr platform::Color kLightYellow = platform::Color{0xC0FFFF};
constexpr int kTile = 5;
constexpr int kTitleW = 260;
constexpr int kTitleH = 30;

const FontSpec kTitleFont{"Arial", 22, false, false};

// Nearest integer, halves to even, as every conversion of the staff roll rounds.
int round_even(double v) { return static_cast<int>(std::nearbyint(v)); }

void draw(Control& c, int x, int y, const std::string& text, platform::Color color) {
    platform::draw_text(c.image, x, y, text, c.font, color);
}

// The paced steps of the pictures all work on the stage's pixel array, read once.
void read_pixels(Game& game, Control& c) {
    StageState& st = game.stage;
    st.Pixel_count = Get_pixels(c.image, st.Pixels);
}

// Subtracts d from red, green and blue of entries 0 ... Pixel_count, not below 0.
void subtract(StageState& st, int d) {
    for (std::int32_t i = 0; i <= st.Pixel_count; ++i) {
        const std::uint32_t e = st.Pixels[static_cast<std::size_t>(i)];
        const int r = std::max(static_cast<int>((e >> 16) & 0xFF) - d, 0);
        const int g = std::max(static_cast<int>((e >> 8) & 0xFF) - d, 0);
        const int b = std::max(static_cast<int>(e & 0xFF) - d, 0);
        st.Pixels[static_cast<std::size_t>(i)] =
            (e & 0xFF000000u) | (static_cast<std::uint32_t>(r) << 16) |
            (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
    }
}

// End_dark and Staff_dark: each step works on what the one before left.
void darken_steps(Game& game, Control& c, const char* name, std::initializer_list<int> steps) {
    game.p.trace.event("effect", {{"code", name}, {"phase", "start"}});
    read_pixels(game, c);
    for (int d : steps) {
        subtract(game.stage, d);
        game.p.host.yield();
        Put_pixels(c.image, game.stage.Pixels);
        c.refresh();
        game.p.clock.sleep(50);
    }
    game.p.trace.event("effect", {{"code", name}, {"phase", "end"}});
}

}  // namespace

void fill_staff_text(EndingState& ending) {
    std::array<std::string, 22>& s = ending.StaffText;
    s.fill({});
    s[0] = "by Arlo & Tamsin";
    s[1] = "    DALVO!";
    s[2] = " System & code";
    s[3] = "       Graphics";
    s[4] = "         Music";
    s[5] = "         Sound";
    s[6] = "      Scenario";
    s[12] = " making staff";
    s[13] = "           Arlo";
    s[14] = "             Tamsin";
    s[15] = "             Tamsin";
    s[16] = "            Arlo";
    s[17] = "            Tamsin";
}

void Staff_texture(Game& game) {
    MainForm& ui = game.ui;
    for (int i = 0; i < 4; ++i) ui.Texture[i]->move(0, 50 * i, kTitleW, kTitleH);
    Control& gradient = *ui.Texture[3];
    // Row 30 - y lies below the surface for y = 0; the others darken downwards.
    for (int y = 0; y <= 30; ++y) {
        gradient.image.draw_line(0, 30 - y, kTitleW, 30 - y,
                                 platform::rgb(100 + 3 * y, 160 + 3 * y, 160 + 3 * y));
    }
    gradient.refresh();
    game.ending.TexturePicture = gradient.image;
    ui.Texture[2]->image = gradient.image;
    ui.Texture[2]->refresh();
}

void Staff_text(Game& game, const std::string& text) {
    MainForm& ui = game.ui;
    Control& shadowed = *ui.Texture[0];
    Control& letters = *ui.Texture[1];
    Control& fill = *ui.Texture[2];

    // Clearing shows the surface's picture, the gradient, again.
    clear_surface(fill);
    const platform::Surface& picture = game.ending.TexturePicture;
    platform::bit_blt(fill.image, 0, 0, picture.width(), picture.height(), picture, 0, 0,
                      Rop::SrcCopy);

    letters.font = kTitleFont;
    clear_surface(letters);
    letters.fore_color = platform::kWhite;
    draw(letters, 0, -2, text, letters.fore_color);
    letters.refresh();
    // The gradient stays only inside the letters.
    platform::bit_blt(fill.image, 0, 0, kTitleW, kTitleH, letters.image, 0, 0, Rop::SrcAnd);
    fill.refresh();

    shadowed.font = kTitleFont;
    clear_surface(shadowed);
    draw(shadowed, 1, -1, text, kShadowGrey);
    draw(shadowed, 0, -2, text, platform::kBlack);
    shadowed.refresh();
    // Black letters on the grey shadow take the gradient; the shadow stays grey.
    platform::bit_blt(shadowed.image, 0, 0, kTitleW, kTitleH, fill.image, 0, 0, Rop::SrcInvert);
    shadowed.refresh();
}

void Staff_disp(Game& game, std::int16_t n) {
    MainForm& ui = game.ui;
    EndingState& e = game.ending;
    Control& card = *ui.Staff_pic1;
    Control& build = *ui.Staff_pic2;
    game.p.trace.event("effect", {{"code", "Staff_disp"}, {"card", static_cast<int>(n)}, {"phase", "start"}});

    clear_surface(card);
    const int W1 = card.width;
    const int H1 = card.height;

    build.move(0, 0, 260, 100);
    clear_surface(build);
    build.font = FontSpec{"Arial", 18, false, false};
    const int W2 = build.width;
    const int H2 = build.height;

    Staff_text(game, e.StaffText[static_cast<std::size_t>(n)]);
    platform::bit_blt(build.image, 0, 0, kTitleW, kTitleH, ui.Texture[0]->image, 0, 0, Rop::SrcCopy);

    if (n == 1) {
        card.move(380, 180, 260, 100);
        draw(build, 0, 50, e.StaffText[12], kLightYellow);
        build.font = FontSpec{"Arial", 9, false, false};
        draw(build, 146, 86, e.StaffText[0], kShadowGrey);
        draw(build, 145, 85, e.StaffText[0], platform::kWhite);
    } else {
        const std::string& line = e.StaffText[static_cast<std::size_t>(n) + 11];
        draw(build, 1, 51, line, kShadowGrey);
        draw(build, 0, 50, line, platform::kWhite);
    }
    build.refresh();

    const int C = round_even(W2 / 5.0);
    const int R = round_even(H2 / 5.0);
    const int N = std::min(W2, H2);
    e.TileCols = C + 1;
    e.TileRows = R + 1;
    e.TileX.assign(static_cast<std::size_t>(e.TileCols) * e.TileRows, 0);
    e.TileY.assign(e.TileX.size(), 0);
    for (int i = 0; i <= C; ++i) {
        for (int j = 0; j <= R; ++j) {
            e.tile_x(i, j) = static_cast<std::int16_t>(round_even(e.Rnd.next() * W1));
            e.tile_y(i, j) = static_cast<std::int16_t>(round_even(e.Rnd.next() * H1));
        }
    }

    // Every tile flies from its random start home; at k = N all are at home.
    for (int k = 0; k <= N; k += 2) {
        const std::uint32_t start = game.p.clock.ticks();
        clear_surface(card);
        for (int i = 0; i <= C; ++i) {
            for (int j = 0; j <= R; ++j) {
                const std::int32_t dx = (e.tile_x(i, j) - kTile * i) * (N - k);
                const std::int32_t dy = (e.tile_y(i, j) - kTile * j) * (N - k);
                const int x = round_even(static_cast<double>(dx) / N + kTile * i);
                const int y = round_even(static_cast<double>(dy) / N + kTile * j);
                platform::bit_blt(card.image, x, y, kTile, kTile, build.image, kTile * i, kTile * j,
                                  Rop::SrcCopy);
            }
        }
        while (game.p.clock.ticks() - start <= 30) game.p.clock.sleep(10);
        game.p.host.yield();
        card.refresh();
    }
    game.p.trace.event("effect", {{"code", "Staff_disp"}, {"card", static_cast<int>(n)}, {"phase", "end"}});
}

void End_grey(Game& game) {
    Control& picture = *game.ui.End_pic;
    StageState& st = game.stage;
    game.p.trace.event("effect", {{"code", "End_grey"}, {"phase", "start"}});
    read_pixels(game, picture);
    // Repeated additions, as the steps were always counted: the third is 0.30000000000000004.
    for (double t = 0.1; t <= 0.5; t += 0.1) {
        const std::uint32_t start = game.p.clock.ticks();
        filter_pixels(FilterRule::Fade, t, st.Pixels.data(), st.Pixel_count);
        game.p.host.yield();
        Put_pixels(picture.image, st.Pixels);
        while (game.p.clock.ticks() - start <= 300) game.p.clock.sleep(30);
        picture.refresh();
    }
    game.p.trace.event("effect", {{"code", "End_grey"}, {"phase", "end"}});
}

void End_dark(Game& game) { darken_steps(game, *game.ui.End_pic, "End_dark", {10, 60, 110, 160, 210}); }

void Staff_dark(Game& game) { darken_steps(game, *game.ui.Staff_pic1, "Staff_dark", {10, 110, 210}); }

}  // namespace dalvo
