#include "support/stage_rig.h"

#include <array>
#include <gtest/gtest.h>

#include "mkdata/bmp.h"
#include "stage/stage.h"
#include "support/trace_field.h"

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

StageRig::StageRig() : StageRig([] { return platform::make_headless_platform({}); }) {}

StageRig::StageRig(const std::function<std::unique_ptr<platform::PlatformSet>()>& make_platform) {
    folder_.write_bytes("wall.bmp", encode_bmp(64, 64, wall_pixel));
    folder_.write_bytes("waku.bmp", encode_bmp(48, 48, waku_pixel));
    for (int n = 0; n <= 2; ++n) {
        folder_.write_bytes(std::to_string(70 + n) + ".dat",
                            encode_bmp(640, 320, [n](int x, int y) { return background_pixel(n, x, y); }));
    }
    for (int i = 0; i < 4; ++i) {
        const int w = i < 3 ? 200 : 300, h = i < 3 ? 200 : 100;
        folder_.write_bytes(std::to_string(51 + i) + ".dat", encode_bmp(w, h, [=](int x, int y) {
                                return sprite_pixel(i, w, h, x, y);
                            }));
    }
    for (int j = 0; j < 3; ++j) {
        const int w = 95, strip = std::array{249, 151, 75}[j], h = strip / 3;
        folder_.write_bytes(std::to_string(61 + j) + ".dat", encode_bmp(w, strip, [=](int x, int y) {
                                return face_pixel(y / h, w, h, x, y % h);
                            }));
    }

    set_ = make_platform();
    set_->platform().trace.add_observer([this](const std::string& line) {
        trace_.push_back(line);
        if (on_trace) on_trace(line);
    });
    GameOptions options;
    options.data_dir = folder_.path();
    options.program_dir = folder_.path();
    options.autostart = false;
    game_ = std::make_unique<Game>(set_->platform(), options);
    game_->g_DataPath = folder_.path();
    // Shown, so that every refresh reaches the (headless) screen as in the game.
    set_->platform().host.show_form(game_->ui.form);
    const int code = until_end([this] {
        Stage_init(*game_);
        Waku_draw(*game_);
        Doll_preload(*game_);
    });
    EXPECT_EQ(code, -1) << "the stage could not be built";
}

int StageRig::until_end(const std::function<void()>& f) {
    try {
        f();
        return -1;
    } catch (const platform::ProgramEnd& end) {
        return end.code;
    }
}

std::vector<std::string> StageRig::events(const std::string& ev) const {
    const std::string tag = "\"ev\":\"" + ev + "\"";
    std::vector<std::string> out;
    for (const std::string& line : trace_) {
        if (line.find(tag) != std::string::npos) out.push_back(line);
    }
    return out;
}

platform::Surface StageRig::screen() {
    game_->p.host.present();
    const platform::Surface* shown = game_->p.host.screen(game_->ui.form);
    return shown ? *shown : platform::Surface(640, 480);
}

std::vector<std::uint32_t> StageRig::presents_during(const std::string& code) const {
    std::vector<std::uint32_t> times;
    bool inside = false;
    for (const std::string& line : trace_) {
        const std::string ev = field(line, "ev");
        if (ev == "effect" && field(line, "code") == code) {
            if (field(line, "phase") == "start") {
                times.clear();
                inside = true;
            } else {
                inside = false;
            }
        } else if (inside && ev == "present" && field(line, "form") == "Main_Form") {
            times.push_back(static_cast<std::uint32_t>(std::stoul(field(line, "t"))));
        }
    }
    return times;
}

void StageRig::doll(int slot, int digit, const std::string& text) {
    game_->g.g_DollSlot = static_cast<std::uint8_t>(slot);
    game_->g.g_DollNo = static_cast<std::uint8_t>(digit);
    game_->g.g_Text = text;
    EXPECT_EQ(Doll_change(*game_), 2);
}

}  // namespace dalvo::test
