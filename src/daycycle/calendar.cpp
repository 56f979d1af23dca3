// The calendar of half-days, the day-start record and the date card of "g1".

#include <array>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "daycycle/day_card.h"
#include "daycycle/daycycle.h"
#include "engine/game.h"
#include "platform/gfx/font.h"
#include "platform/codec/text_codec.h"
#include "platform/pacing.h"
#include "stage/stage.h"
#include "stage/stage_util.h"

namespace dalvo {

namespace {

constexpr int kCardLeft = 320;
constexpr int kCaptionTop = 180;
constexpr int kSlideFrames = 25;
constexpr std::uint32_t kSlideFrameMs = 20;

// Labels take the size of their caption, as the window layout's self-sizing labels do.
void set_caption(platform::Control& label, const std::string& text) {
    label.caption = text;
    label.move(label.left, label.top, platform::text_width(label.font, text),
               platform::text_height(label.font));
}

// "01" is shown as " 1".
std::string without_leading_zero(std::string two_digits) {
    if (!two_digits.empty() && two_digits.front() == '0') two_digits.front() = ' ';
    return two_digits;
}

void clear_message_area(Game& game) {
    clear_surface(*game.ui.TxtFrame1[1]);
    game.ui.TxtFrame1[1]->refresh();
}

}  // namespace

void Write_day_start_record(Game& game, std::int32_t start_record) {
    const EngineState& g = game.g;
    std::array<std::string, 21>& f = game.g.g_Flags;
    f[0] = Flag_number(g.g_Day);
    f[1] = g.g_Names[1];
    f[2] = g.g_Names[2];
    f[3] = Flag_truth(g.g_BgmOn);
    f[4] = Flag_truth(g.g_SeOn);
    f[5] = Flag_number(g.g_MsgSpeed);
    f[6] = Flag_number(start_record);
    f[7] = Flag_number(g.g_hat_eki);
    f[8] = Flag_number(g.g_hat_umi);
    f[9] = Flag_number(g.g_kae);
    f[10] = Flag_number(g.g_chi);
    f[11] = Flag_number(g.g_ben);
    f[12] = Flag_number(g.g_kou_iku);
    f[13] = Flag_number(g.g_kou_eki);
    f[14] = Flag_number(g.g_kou_umi);
    f[15] = Flag_number(g.g_kok);
    f[16] = Flag_number(g.g_suu);
    f[17] = Flag_number(g.g_eig);
    f[18] = Flag_number(game.w.Place_no);
    f[19] = Flag_number(g.g_hay);
    f[20] = Flag_number(game.sound.g_BgmNo);
}

std::string Date_text(std::int16_t day) {
    using namespace std::chrono;
    // Division truncates toward zero, as the calendar counts.
    const year_month_day date{sys_days{year{2000} / December / 25} + days{day / 2}};
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%02u %s", static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), day % 2 != 0 ? "PM" : "AM");
    return text;
}

std::string Flag_number(std::int32_t value) {
    std::string text = value < 0 ? "" : " ";
    text += std::to_string(value);
    return text;
}

std::string Flag_truth(std::int16_t value) { return value != 0 ? "True" : "False"; }

std::int16_t Flag_to_int16(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return 0;
    const auto last = text.find_last_not_of(' ');
    const std::string number = text.substr(first, last - first + 1);
    try {
        return static_cast<std::int16_t>(std::stoi(number));
    } catch (const std::exception&) {
        return 0;
    }
}

std::int16_t Flag_to_truth(const std::string& text) {
    if (text == "True") return kTrue;
    if (text == "False") return kFalse;
    return Flag_to_int16(text) != 0 ? kTrue : kFalse;
}

void Set_file_menus(Game& game, bool enabled) {
    for (const char* name : {"prog_load", "prog_save", "speedup"}) game.ui.form.set_menu_enabled(name, enabled);
}

void Card_show_date(Game& game, int top) {
    const std::string& date = game.g.g_DateText;
    std::array<platform::Control*, 5>& fm = game.ui.FrontMes;
    set_caption(*fm[0], without_leading_zero(platform::char_substr(date, 0, 2)));
    set_caption(*fm[1], "月");
    set_caption(*fm[2], without_leading_zero(platform::char_substr(date, 3, 2)));
    set_caption(*fm[3], "日" + platform::char_substr(date, 5, 3));
    for (int i = 0; i < 4; ++i) {
        fm[i]->move(kCardLeft, top);
        fm[i]->visible = true;
    }
    game.ui.Pic_Main->refresh();
}

void Card_slide(Game& game) {
    for (int j = 1; j <= kSlideFrames; ++j) {
        game.frame.start();
        for (int k = -2; k <= 1; ++k) {
            platform::Control& label = *game.ui.FrontMes[k + 2];
            label.move(kCardLeft + k * j, label.top);
        }
        game.ui.Pic_Main->refresh();
        game.frame.end(kSlideFrameMs);
    }
}

void Card_hide(Game& game) {
    for (platform::Control* label : game.ui.FrontMes) label->visible = false;
    game.ui.Pic_Main->refresh();
}

void New_days(Game& game) {
    EngineState& g = game.g;
    WindowState& w = game.w;
    platform::Host& host = game.p.host;

    Set_file_menus(game, false);
    g.g_Day = static_cast<std::int16_t>(g.g_Day + 1);
    Write_day_start_record(game, g.g_ScriptPos);
    g.g_DateText = Date_text(g.g_Day);

    w.LineNo = -1;
    w.LastSpeaker = 0;
    // A stage that the script has just darkened is not darkened twice.
    if (game.stage.g_Effect != "DK") {
        game.stage.g_Effect = "DK";
        PlaceEffect(game);
    }
    w.LastSpeaker = 0;
    clear_message_area(game);

    Card_show_date(game, 150);
    platform::Control& caption = *game.ui.FrontMes[4];
    set_caption(caption, g.g_Arg1);
    caption.move(kCardLeft - 4 * platform::wide_byte_length(g.g_Arg1), kCaptionTop);
    Card_slide(game);

    platform::sleep_then_yield(host, 500);
    caption.visible = true;
    game.ui.Pic_Main->refresh();
    platform::yield_then_sleep(host, 200, 10);

    Card_hide(game);
    game.stage.g_Effect = "BC";
    PlaceEffect(game);
    Set_file_menus(game, true);
}

}  // namespace dalvo
