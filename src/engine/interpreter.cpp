#include "engine/interpreter.h"

#include <array>
#include <string>

#include "daycycle/daycycle.h"
#include "dialogs/dialogs.h"
#include "ending/ending.h"
#include "engine/conditions.h"
#include "engine/field_reader.h"
#include "engine/game.h"
#include "engine/message.h"
#include "engine/scenario_loader.h"
#include "engine/startup.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "platform/pacing.h"

namespace dalvo {

namespace {

// Far beyond any honest scenario: 3001 records, each run a few hundred times over.
constexpr std::uint32_t kMaxWorkWithoutWait = 1'000'000;
// A record that changes the stage copies and presents pictures, and one of the sound
// command opens or drives a device: each weighs a thousand plain records, so a loop
// through them is caught within seconds, in a window as headless, the same every run.
constexpr std::uint32_t kDeviceWork = 1'000;

std::uint32_t record_work(const ScriptRecord& rec) {
    const bool plain = trim_blanks(rec.Place).empty() && trim_blanks(rec.Doll).empty() &&
                       trim_blanks(rec.Face).empty() && !trim_blanks(rec.Cmd).starts_with('a');
    return plain ? 1 : kDeviceWork;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::int16_t record_number(Game& game, const std::string& field, const char* what) {
    std::int16_t value = 0;
    if (parse_int16(field, value) != NumberError::None) {
        record_fault(game, std::string(what) + "が数値ではありません「" + field + "」");
    }
    return value;
}

// Puts the names in for the markers "&0".."&5". An inserted name is never scanned
// again, so a name holding "&" cannot make the replacement run for ever.
std::string replace_names(const std::string& text, const std::array<std::string, 6>& names) {
    std::string out;
    std::size_t from = 0;
    while (true) {
        const std::size_t p = text.find('&', from);
        if (p == std::string::npos) break;
        out.append(text, from, p - from);
        if (p + 1 < text.size() && text[p + 1] >= '0' && text[p + 1] <= '5') {
            out += names[text[p + 1] - '0'];
            from = p + 2;
        } else {
            out += '&';
            from = p + 1;
        }
    }
    out.append(text, from, std::string::npos);
    return out;
}

// Copies the record at `g_ScriptPos` into the current-record state and runs its stage
// changes and its command; returns its continuation code.
int run_record(Game& game) {
    EngineState& g = game.g;
    WindowState& w = game.w;
    const ScriptRecord& rec = g.g_Script[g.g_ScriptPos];

    g.g_CurScene = rec.Scene;
    g.g_Cmd = trim_blanks(rec.Cmd);
    g.g_CurTarget = rec.Target;
    const std::string place = trim_blanks(rec.Place);
    const std::string doll = trim_blanks(rec.Doll);
    const std::string face = trim_blanks(rec.Face);
    const std::string speaker = trim_blanks(rec.Speaker);
    g.g_Text = trim_blanks(rec.Text);
    g.g_Arg1 = trim_blanks(rec.Arg1);
    g.g_Arg2 = trim_blanks(rec.Arg2);
    g.g_Arg3 = trim_blanks(rec.Arg3);

    if (!speaker.empty()) g.g_Speaker = record_number(game, speaker, "話者");
    const bool place_due = !place.empty();
    if (place_due) {
        w.Place_no = record_number(game, place, "背景番号");
        g.g_DollSlot = 0;
    }
    const bool doll_due = !doll.empty();
    if (doll_due) {
        const char slot = doll.front();
        const char shown = doll.back();
        if (!is_digit(slot) || slot < '1' || slot > '4') {
            record_fault(game, "立ち絵の位置が 1..4 ではありません「" + doll + "」");
        }
        if (!is_digit(shown)) record_fault(game, "立ち絵の表示が数字ではありません「" + doll + "」");
        g.g_DollSlot = static_cast<std::uint8_t>(slot - '0');
        g.g_DollNo = static_cast<std::uint8_t>(shown - '0');
    }
    const bool face_due = !face.empty();
    if (face_due) {
        const std::int16_t n = record_number(game, "0" + face, "表情番号");
        if (n > 255) record_fault(game, "表情番号が 0..255 ではありません「" + face + "」");
        g.g_FaceNo = static_cast<std::uint8_t>(n);
    }
    if (g.g_Arg3 == "1") g.g_Text = replace_names(g.g_Text, g.g_Names);

    int code = kShowAndNext;
    if (place_due) code = Place_change(game);
    if (doll_due) code = Doll_change(game);
    if (face_due) code = Face_change(game);

    if (g.g_Cmd.empty()) return code;
    switch (g.g_Cmd.front()) {
    case 'g':
        return Cmd_g(game);
    case 'a':
        Cmd_a(game);
        return kNext;
    case 's':
        Select_disp(game);
        return kRunAtPos;
    case 'p':
        Param_p(game);
        return kNext;
    case 'i':
        return Cond_i(game);
    case 'd':
        return Cond_d(game);
    case 'c':
        return Cond_c(game);
    case 'e':
        Ending_run(game);
        Window_unload(game, 0);
    case 'q':
        // Every file is read whole and closed at once, so none is open here.
        platform::yield_then_sleep(game.p.host, 10, 11);
        Window_unload(game, 0);
    case 'o':
        g.g_OptOpen = 1;
        ++game.msg.player_waits;
        Option_open(game);
        platform::wait_until(game.p.host, [&g] { return g.g_OptOpen == 0; }, 10);
        return kNext;
    case 'r': {
        platform::Control& area = *game.ui.TxtFrame1[1];
        area.image.fill_rect(0, 0, area.image.width(), area.image.height(), area.back_color);
        area.refresh();
        w.LineNo = -1;
        w.LastSpeaker = 0;
        return kShowAndNext;
    }
    default:
        return code;
    }
}

}  // namespace

int Cmd_g(Game& game) {
    const std::string& cmd = game.g.g_Cmd;
    if (cmd == "g0") {
        Jump_target(game);
        return kRunAtPos;
    }
    if (cmd == "g1") {
        New_days(game);
    } else if (cmd == "g9") {
        Graph_disp(game);
    }
    return kNext;
}

void Run_script(Game& game) {
    EngineState& g = game.g;
    g.g_Running = kTrue;
    bool end_test = true;
    // Work done since the player was last asked, on records run before since then. A
    // record reached for the first time is progress (a skip through a long scene), not
    // a loop, and weighs nothing.
    std::uint32_t work_without_wait = 0;
    std::uint32_t records_without_wait = 0;
    std::int32_t furthest = g.g_ScriptPos - 1;
    while (true) {
        // The last record closes the script and is never run.
        if (end_test && g.g_ScriptPos == g.g_ScriptLast) return;
        if (g.g_ScriptPos < 0 || g.g_ScriptPos > g.g_ScriptLast) {
            data_fault(game, "シナリオの位置 " + std::to_string(g.g_ScriptPos) +
                                 " にレコードがありません");
        }
        const std::int32_t pos = g.g_ScriptPos;
        const std::uint64_t waits = game.msg.player_waits;
        const std::uint32_t work = record_work(g.g_Script[pos]);
        const int code = run_record(game);
        end_test = true;
        switch (code) {
        case kShowAndNext:
            Msg_speaker(game);
            // A load during the click wait has set the position to the saved record.
            g.g_ScriptPos += 1;
            break;
        case kRunAtPos:
            end_test = false;
            break;
        default:
            g.g_ScriptPos += 1;
            break;
        }
        // A script that runs on and on without asking the player anything is caught
        // in a loop: nothing would end it, not even closing the window.
        if (game.msg.player_waits != waits) {
            work_without_wait = 0;
            records_without_wait = 0;
            furthest = pos;
        } else if (pos > furthest) {
            furthest = pos;
        } else {
            work_without_wait += work;
            records_without_wait += 1;
            if (work_without_wait >= kMaxWorkWithoutWait) {
                record_fault(game, pos,
                             std::to_string(records_without_wait) +
                                 " レコードの間プレイヤーを待たずに進みました. 終わらないループです");
            }
        }
    }
}

}  // namespace dalvo
