#include "support/stage_rig.h"

#include <array>
#include <gtest/gtest.h>

#include "mkdata/bmp.h"
#include "stage/stage.h"

namespace dalvo::test {

using platform::Color;
using platform::rgb;

Color wall_pixel(int x, int y) { return rgb(4 * x, 4 * y, 100); }
Color waku_pixel(int x, int y) { return rgb(5 * x, 5 * y, 200); }
Color background_pixel(int n, int x, int y) {
    return rgb((x + 37 * n) % 256, (2 * y + 11 * n) % 256, ((x ^ y) + 1) % 256);
}
Color sprite_pixel(int slot, int w, int h, int x, int y) {
    if (x >= w * 3 / 4 && y < h / 2) return platform::kBlack;
    return rgb(60 + 40 * slot, 30 + (3 * x) % 200, 30 + (2 * y) % 200);
}
Color face_pixel(int f, int w, int h, int x, int y) {
    const bool opaque = f == 0 ? x < w / 2 : f == 1 ? y < h / 2 : x >= w / 2;
    return opaque ? rgb(200, 30 + 50 * f, 30 + (x + y) % 100) : platform::kBlack;
}

std::vector<std::uint8_t> encode_bmp(int w, int h, const std::function<Color(int, int)>& pixel) {
    mkdata::Canvas canvas(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color c = pixel(x, y);
            canvas.set(x, y, mkdata::rgb(platform::red_of(c), platform::green_of(c), platform::blue_of(c)));
        }
    }
    return mkdata::encode_bmp(canvas);
}

StageRig::StageRig(bool window) : GameRig({.window = window}) {
    FixtureFolder& data = folder();
    data.write_bytes("wall.bmp", encode_bmp(64, 64, wall_pixel));
    data.write_bytes("waku.bmp", encode_bmp(48, 48, waku_pixel));
    for (int n = 0; n <= 2; ++n) {
        data.write_bytes(std::to_string(70 + n) + ".dat",
                         encode_bmp(640, 320, [n](int x, int y) { return background_pixel(n, x, y); }));
    }
    for (int i = 0; i < 4; ++i) {
        const int w = i < 3 ? 200 : 300, h = i < 3 ? 200 : 100;
        data.write_bytes(std::to_string(51 + i) + ".dat",
                         encode_bmp(w, h, [=](int x, int y) { return sprite_pixel(i, w, h, x, y); }));
    }
    for (int j = 0; j < 3; ++j) {
        const int w = 95, strip = std::array{249, 151, 75}[j], h = strip / 3;
        data.write_bytes(std::to_string(61 + j) + ".dat", encode_bmp(w, strip, [=](int x, int y) {
                             return face_pixel(y / h, w, h, x, y % h);
                         }));
    }
    // Shown, so that every refresh reaches the (headless) screen as in the game.
    host().show_form(ui().form);
    const int code = until_end([this] {
        Stage_init(game());
        Waku_draw(game());
        Doll_preload(game());
    });
    EXPECT_EQ(code, -1) << "the stage could not be built";
}

std::vector<std::uint32_t> StageRig::presents_during(const std::string& code) const {
    std::vector<std::uint32_t> times;
    bool inside = false;
    for (const Json& e : events()) {
        if (e["ev"].str() == "effect" && e["code"].str() == code) {
            if (e["phase"].str() == "start") times.clear();
            inside = e["phase"].str() == "start";
        } else if (inside && matches(e, R"({"ev":"present","form":"Main_Form"})")) {
            times.push_back(time_of(e));
        }
    }
    return times;
}

void StageRig::doll(int slot, int digit, const std::string& text) {
    g().g_DollSlot = static_cast<std::uint8_t>(slot);
    g().g_DollNo = static_cast<std::uint8_t>(digit);
    g().g_Text = text;
    EXPECT_EQ(Doll_change(game()), 2);
}

}  // namespace dalvo::test
