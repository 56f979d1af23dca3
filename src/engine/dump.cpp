#include "engine/dump.h"

#include "daycycle/title.h"
#include "dialogs/controls_window.h"
#include "dialogs/dialogs.h"
#include "engine/game.h"
#include "engine/message.h"
#include "engine/startup.h"
#include "saveload/saveload.h"
#include "stage/stage_dump.h"

namespace dalvo {

std::string waiting_for(const Game& game) {
    // The options dialog disables the game window behind it, whatever that waits for.
    if (const char* option = Option_waiting(game)) return option;
    // The slot dialog holds the click wait that opened it, so it answers first.
    if (const char* dialog = File_Window_waiting(game)) return dialog;
    if (Controls_window_is_open(game)) return "dialog";
    if (const char* message = Message_waiting(game)) return message;
    if (const char* title = Title_waiting(game)) return title;
    if (game.g.g_OptOpen != 0) return "dialog";
    return "none";
}

void write_dump(const Game& game, platform::JsonWriter& out) {
    const EngineState& g = game.g;
    const WindowState& w = game.w;
    out.field("g_ScriptPos", g.g_ScriptPos);
    out.field("g_ScriptLast", g.g_ScriptLast);
    out.field("g_CurScene", g.g_CurScene);
    out.field("g_Cmd", g.g_Cmd);
    out.field("g_CurTarget", g.g_CurTarget);
    out.field("g_Text", g.g_Text);
    out.field("g_Arg1", g.g_Arg1);
    out.field("g_Speaker", g.g_Speaker);
    out.field("g_Day", g.g_Day);
    out.field("g_DateText", g.g_DateText);
    out.array_field("g_Names", g.g_Names);
    out.array_field("g_MusicFile", g.g_MusicFile);
    out.field("g_kok", g.g_kok);
    out.field("g_eig", g.g_eig);
    out.field("g_suu", g.g_suu);
    out.field("g_ben", g.g_ben);
    out.field("g_kou_iku", g.g_kou_iku);
    out.field("g_kou_eki", g.g_kou_eki);
    out.field("g_kou_umi", g.g_kou_umi);
    out.field("g_hat_eki", g.g_hat_eki);
    out.field("g_hat_umi", g.g_hat_umi);
    out.field("g_hap", g.g_hap);
    out.field("g_kae", g.g_kae);
    out.field("g_chi", g.g_chi);
    out.field("g_hay", g.g_hay);
    out.key("g_GraphHist").begin_array();
    for (std::int16_t v : g.g_GraphHist) out.value(v);
    out.end_array();
    out.array_field("g_Flags", g.g_Flags);
    out.field("g_MsgSpeed", g.g_MsgSpeed);
    out.field("g_WaitClick", g.g_WaitClick);
    out.field("g_Choice", g.g_Choice);
    out.field("g_Running", g.g_Running);
    out.field("g_OptOpen", g.g_OptOpen);
    out.field("g_FileMode", g.g_FileMode);
    out.field("g_BgmOn", g.g_BgmOn);
    out.field("g_SeOn", g.g_SeOn);
    out.field("g_MixerOk", g.g_MixerOk);
    out.field("g_DollSlot", static_cast<int>(g.g_DollSlot));
    out.field("g_DollNo", static_cast<int>(g.g_DollNo));
    out.field("g_FaceNo", static_cast<int>(g.g_FaceNo));
    out.field("Place_no", w.Place_no);
    out.field("LineNo", w.LineNo);
    out.field("Line_height", w.Line_height);
    out.field("LastSpeaker", w.LastSpeaker);
    out.array_field("LogText", w.LogText);
    out.key("LogColor").begin_array();
    for (platform::Color c : w.LogColor) out.value(static_cast<std::int64_t>(c));
    out.end_array();
    out.field("LogView", w.LogView);
    out.field("SelArmed", w.SelArmed);
    dump_stage(game, out);
    dump_title(game, out);
    for (const auto& part : game.dump_parts) part(out);
}

void install_automation(Game& game) {
    platform::AutomationHooks hooks;
    hooks.waiting = [&game] { return waiting_for(game); };
    hooks.dump = [&game](platform::JsonWriter& out) { write_dump(game, out); };
    hooks.close = [&game] { Window_unload(game, 0); };
    game.p.host.set_automation(std::move(hooks));
}

}  // namespace dalvo
