#include "message/message_rig.h"

#include <cmath>
#include <stdexcept>

#include "engine/message.h"
#include "platform/gfx/font.h"

namespace dalvo::test {

namespace {
constexpr std::uint32_t kVirtualLimitMs = 600000;
}  // namespace

MessageRig::MessageRig() {
    set_ = platform::make_headless_platform({});
    platform::Platform& p = set_->platform();
    p.trace.add_observer([this](const std::string& line) {
        if (line.find("\"msgbox\"") != std::string::npos) msgboxes.push_back(line);
        if (line.find("\"wave\"") != std::string::npos) waves.push_back(line);
    });
    game_ = std::make_unique<Game>(p, GameOptions{});
    Game& game = *game_;
    game.g_DataPath = "/nonexistent-dalvo-data";
    p.host.show_form(game.ui.form);

    // The message window as the stage layout leaves it.
    const platform::FontSpec font{"ＭＳ ゴシック", platform::granted_points(11), true, false};
    game.ui.TxtFrame1[1]->font = font;
    game.ui.TxtFrame2[1]->font = font;
    game.w.Line_height = static_cast<std::int16_t>(std::lround(font.size + 5));
    for (int k = 0; k < 3; ++k) {
        game.ui.SelBox[k]->move(0, (k + 1) * game.w.Line_height + 2, 200, game.w.Line_height);
    }
    game.g.g_MsgSpeed = 3;
    game.g.g_SeOn = kTrue;
    game.w.LineNo = -1;
    game.g.g_Names[2] = "太郎";
    Message_connect(game);

    // Scheduled actions run from a timer, inside the yields of the game's own waits.
    const std::uint32_t start = now();
    p.host.add_timer("rig", 1, [this, start] {
        // A wait that nothing ends fails the test instead of hanging it.
        if (now() - start > kVirtualLimitMs) throw std::runtime_error("waited past the time limit");
        auto due = std::move(due_);
        due_.clear();
        for (auto& [when, action] : due) {
            if (static_cast<std::int32_t>(now() - when) >= 0) action();
            else due_.emplace_back(when, std::move(action));
        }
    }).set_enabled(true, now());
}

void MessageRig::at(std::uint32_t ms, std::function<void()> action) {
    due_.emplace_back(now() + ms, std::move(action));
}

void MessageRig::post_at(std::uint32_t ms, platform::InputEvent event) {
    at(ms, [this, event] { game_->p.host.post(event); });
}

void MessageRig::click_at(std::uint32_t ms, int x, int y, platform::MouseButton b) {
    post_at(ms, platform::MouseDown{"Main_Form", x, y, b});
    post_at(ms, platform::MouseUp{"Main_Form", x, y, b});
}

void MessageRig::say(int speaker, const std::string& text) {
    game_->g.g_Speaker = static_cast<std::int16_t>(speaker);
    game_->g.g_Text = text;
    Msg_speaker(*game_);
}

int MessageRig::until_end(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::ProgramEnd& end) {
        return end.code;
    }
    return -1;
}

bool band_has(const platform::Surface& s, int top, int h, platform::Color c) {
    for (int y = top; y < top + h; ++y) {
        for (int x = 0; x < s.width(); ++x) {
            if (s.get(x, y) == c) return true;
        }
    }
    return false;
}

}  // namespace dalvo::test
