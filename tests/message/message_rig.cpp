#include "message/message_rig.h"

#include <algorithm>
#include <cmath>

#include "engine/message.h"
#include "platform/gfx/font.h"

namespace dalvo::test {

MessageRig::MessageRig() : GameRig({.data_dir = "/nonexistent-dalvo-data"}) {
    host().show_form(ui().form);
    // The message window as the stage layout leaves it.
    const platform::FontSpec font{"ＭＳ ゴシック", platform::granted_points(11), true, false};
    ui().TxtFrame1[1]->font = font;
    ui().TxtFrame2[1]->font = font;
    w().Line_height = static_cast<std::int16_t>(std::lround(font.size + 5));
    for (int k = 0; k < 3; ++k) ui().SelBox[k]->move(0, (k + 1) * w().Line_height + 2, 200, w().Line_height);
    g().g_MsgSpeed = 3;
    g().g_SeOn = kTrue;
    w().LineNo = -1;
    g().g_Names[2] = "太郎";
    Message_connect(game());
    schedule();
}

void MessageRig::say(int speaker, const std::string& text) {
    g().g_Speaker = static_cast<std::int16_t>(speaker);
    g().g_Text = text;
    Msg_speaker(game());
}

void MessageRig::offer(const std::vector<SctEntry>& table, int scene, const std::string& count) {
    std::copy(table.begin(), table.end(), g().g_SctTable.begin());
    g().g_SctMax = g().g_SctLast = static_cast<std::int32_t>(table.size()) - 1;
    g().g_CurScene = static_cast<std::int16_t>(scene);
    g().g_Text = count;
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
