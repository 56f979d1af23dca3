// The message window: speaker prefixes, 36-character lines, the four message
// modes and the scroll that makes room for a sixth line.

#include <string>
#include <vector>

#include "engine/game.h"
#include "engine/message.h"
#include "engine/message_internal.h"
#include "platform/gfx/font.h"
#include "platform/codec/text_codec.h"
#include "platform/pacing.h"

namespace dalvo {

namespace {

using platform::Color;
using platform::Control;

constexpr const char* kIndent = "　　　";  // three full-width spaces: a continuation line
constexpr Color kNoNameColor = platform::kWhite;

struct Speaker {
    const char* name;  // nullptr: the player's own name
    Color color;
};

// Speaker codes 1..5; every other code has no name and white text.
constexpr Speaker kSpeakers[5] = {
    {nullptr, platform::Color{0xB7A7F8}},
    {"航", platform::Color{0xF091B7}},
    {"早瀬", platform::Color{0x9EDD60}},
    {"楓", platform::Color{0xEAE373}},
    {"千登世", platform::Color{0x7DECFF}},
};

Control& text_area(Game& game) { return *game.ui.TxtFrame1[1]; }

// Skipping by the player's controls draws as the menu's skip does.
int shown_speed(const Game& game) { return game.controls.skipping_now ? 0 : game.g.g_MsgSpeed; }

// The original repainted a refreshed window at once, without serving input.
void show(Game& game, Control& area) {
    area.refresh();
    game.p.host.present();
}

// One line of the window at line number `line_no` (0..4).
void draw_line(Game& game, const std::string& text, Color color) {
    Control& area = text_area(game);
    const int lh = game.w.Line_height;
    const int y = game.w.LineNo * lh + 1;
    if (shown_speed(game) == 3) {
        // Typed out on a grid of square cells; a half-width character takes half a cell.
        int x = 0;
        const int count = platform::char_count(text);
        for (int j = 0; j < count; ++j) {
            const std::string ch = platform::char_substr(text, j, 1);
            platform::draw_text(area.image, x, y, ch, area.font, color);
            x += platform::is_half_width(ch) ? lh / 2 : lh;
            show(game, area);
            game.p.clock.sleep(10);
        }
    } else {
        platform::draw_text(area.image, 0, y, text, area.font, color);
        show(game, area);
    }
}

void next_line(Game& game) {
    ++game.w.LineNo;
    Msg_scroll(game);
}

}  // namespace

void Msg_speaker(Game& game) {
    const EngineState& g = game.g;
    if (g.g_Text.empty()) return;
    std::string name;
    Color color = kNoNameColor;
    if (g.g_Speaker >= 1 && g.g_Speaker <= 5) {
        const Speaker& s = kSpeakers[g.g_Speaker - 1];
        name = s.name != nullptr ? s.name : g.g_Names[2];
        color = s.color;
    }
    Msg_disp(game, name, g.g_Text, color);
}

void Msg_disp(Game& game, const std::string& name, const std::string& text, Color color) {
    WindowState& w = game.w;
    std::string shown = text;
    if (!name.empty()) {
        if (game.g.g_Speaker != w.LastSpeaker) {
            w.LastSpeaker = game.g.g_Speaker;
            // A one-character name gets a full-width space so that the colons line up.
            shown = name + (platform::char_count(name) >= 2 ? "：" : "　：") + text;
        } else {
            shown = kIndent + text;
        }
    }

    const bool passes = Controls_message_shown(game);
    next_line(game);
    text_area(game).fore_color = color;

    const int count = platform::char_count(shown);
    if (count <= kLineChars) {
        draw_line(game, shown, color);
        Log_append(game, shown, color);
    } else {
        for (int start = 0; start < count; start += kLineChars) {
            std::string piece = platform::char_substr(shown, start, kLineChars);
            if (start > 0) {
                if (!name.empty()) piece = kIndent + piece;
                next_line(game);
            }
            draw_line(game, piece, color);
            Log_append(game, piece, color);
        }
    }

    w.SelArmed = kTrue;
    if (game.g.g_MsgSpeed != 0 && !passes) Wait_click(game);
}

void Scroll_step(Game& game) {
    Control& area = text_area(game);
    platform::Clock& clock = game.p.clock;
    const std::uint32_t began = clock.ticks();
    platform::bit_blt(area.image, 0, 1, kScrollWidth, kScrollHeight, area.image, 0, 2,
                      platform::Rop::SrcCopy);
    // The row that comes in at the bottom starts empty: a glyph pixel left there would be
    // copied up again at every step, a column of dots through the new line.
    area.image.fill_rect(0, kTextAreaHeight - 1, kScrollWidth, 1, platform::kBlack);
    show(game, area);
    platform::wait_until(game.p.host, [&] { return clock.ticks() - began > 10; }, 1);
}

void Msg_scroll(Game& game) {
    WindowState& w = game.w;
    if (w.LineNo != 5) return;
    w.LineNo = 4;
    const int lh = w.Line_height;
    if (shown_speed(game) == 2 || shown_speed(game) == 3) {
        for (int i = 0; i < lh; ++i) Scroll_step(game);
        return;
    }
    Control& area = text_area(game);
    platform::bit_blt(area.image, 0, 0, kScrollWidth, kTextAreaHeight - lh, area.image, 0, lh,
                      platform::Rop::SrcCopy);
    // Our glyphs reach one row below the font's line box: clear the new line down to the
    // bottom of the area, and the top row, where the last row of the line that left lands.
    area.image.fill_rect(0, kTextAreaHeight - lh, kScrollWidth, lh, platform::kBlack);
    area.image.fill_rect(0, 0, kScrollWidth, 1, platform::kBlack);
    show(game, area);
}

void Msg_clear(Game& game) {
    Control& area = text_area(game);
    area.image.fill_rect(0, 0, area.image.width(), area.image.height(), area.back_color);
    area.refresh();
    game.w.LineNo = -1;
    game.w.LastSpeaker = 0;
}

}  // namespace dalvo
