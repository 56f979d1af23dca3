// The choice of up to three options in the message window.

#include <algorithm>
#include <string>

#include "engine/game.h"
#include "engine/interpreter.h"
#include "engine/message.h"
#include "engine/message_internal.h"
#include "engine/scenario_loader.h"
#include "engine/startup.h"
#include "platform/gfx/font.h"
#include "platform/pacing.h"
#include "sound/sound.h"

namespace dalvo {

namespace {

constexpr int kMaxOptions = 3;
constexpr int kPickSound = 2;
constexpr std::uint32_t kPickPauseMs = 1000;

std::string trim_blanks(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The leading decimal number of a text, as the script writes option counts ("2").
int leading_number(const std::string& text) {
    const std::string t = trim_blanks(text);
    int n = 0;
    for (char c : t) {
        if (c < '0' || c > '9') break;
        n = std::min(n * 10 + (c - '0'), 1000);
    }
    return n;
}

void set_menus(Game& game, bool enabled) {
    for (const char* name : {"prog_load", "prog_save", "speedup"}) game.ui.form.set_menu_enabled(name, enabled);
}

}  // namespace

int Select_disp(Game& game) {
    EngineState& g = game.g;
    WindowState& w = game.w;
    MainForm& ui = game.ui;
    platform::Host& host = game.p.host;

    const int n = leading_number(g.g_Text);
    if (n < 1 || n > kMaxOptions) {
        record_fault(game, "選択肢の指定が不正です. 選択肢の数は 1..3 です「" + g.g_Text + "」");
    }
    // The group of a choice is the scene that opens it; a miss leaves the last index.
    // The options are the entries from there on, whatever group the later ones belong to.
    Find_sct(game, g.g_CurScene);
    if (g.g_SctIndex < 0 || g.g_SctIndex + n - 1 > g.g_SctMax || g.g_SctIndex + n > kSctMax) {
        record_fault(game,
                     "選択肢の指定が不正です. " + std::to_string(n) + " 個の選択肢が 39.dat の終わりを越えます");
    }

    ui.Clicker->set_enabled(false, game.p.clock.ticks());
    ui.Blinker->visible = false;
    ui.Blinker->refresh();
    set_menus(game, false);

    // Three lines are freed for the options, the last message line kept on top.
    if (w.LineNo > 0) {
        for (int i = 0; i < 4 * w.Line_height; ++i) Scroll_step(game);
    }

    int widest = 0;
    for (int i = 0; i < n; ++i) {
        const SctEntry& entry = g.g_SctTable[g.g_SctIndex + i];
        SelRow& row = w.SelTable[i];
        row.no = static_cast<std::int16_t>(i);
        row.label = trim_blanks(entry.Label);
        row.pos = entry.Pos;
        platform::Control& label = *ui.SelTxt[i];
        label.caption = row.label;
        label.fore_color = platform::kWhite;
        label.font = ui.TxtFrame1[1]->font;
        // Labels size to their text.
        label.move(label.left, label.top, platform::text_width(label.font, row.label),
                   platform::text_height(label.font));
        widest = std::max(widest, label.width.get());
    }
    for (int i = 0; i < n; ++i) {
        platform::Control& box = *ui.SelBox[i];
        box.move(box.left, box.top, widest, box.height);
        box.visible = true;
        box.refresh();
    }

    g.g_CurTarget = 0;
    g.g_Choice = -1;
    game.msg.choice_open = true;
    ++game.msg.player_waits;
    platform::wait_until(host, [&] { return g.g_Choice >= 0; }, 50);
    game.msg.choice_open = false;

    for (int i = 0; i < n; ++i) {
        ui.SelBox[i]->visible = false;
        ui.SelBox[i]->refresh();
    }
    host.yield();

    g.g_ScriptPos = w.SelTable[g.g_Choice].pos;
    if (g.g_MsgSpeed == 0) Skip_end(game);
    Controls_choice_made(game);
    w.LastSpeaker = 0;
    set_menus(game, true);
    return kRunAtPos;
}

void SelTxt_mouse_move(Game& game, int k) {
    if (game.w.SelArmed == kFalse) return;
    for (int i = 0; i < kMaxOptions; ++i) {
        platform::Control& label = *game.ui.SelTxt[i];
        label.fore_color = i == k ? kHoverColor : platform::kWhite;
        label.refresh();
    }
    game.p.host.yield();
}

void SelTxt_mouse_down(Game& game, int k, const platform::MouseEvent& e) {
    if (e.button == platform::MouseButton::Right) return;
    // The hover colours freeze until the next message is drawn.
    game.w.SelArmed = kFalse;
    game.msg.choice_open = false;
    platform::Control& label = *game.ui.SelTxt[k];
    label.fore_color = kPickColor;
    label.refresh();
    game.p.host.yield();
    if (game.g.g_SeOn != kFalse) SE_play(game, kPickSound);
    game.p.clock.sleep(kPickPauseMs);
    game.g.g_Choice = static_cast<std::int16_t>(k);
}

}  // namespace dalvo
