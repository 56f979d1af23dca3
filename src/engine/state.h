#pragma once
// The engine's shared state and the game window's own variables. Numbers start at
// zero and strings empty; the window-load step gives them their starting values.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/color.h"

namespace dalvo {

// Booleans of the engine are 16-bit: -1 true, 0 false.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

inline constexpr int kScriptMax = 3001;  // records of "3.dat"
inline constexpr int kSeqMax = 501;      // scene runs
inline constexpr int kSctMax = 201;      // lines of "39.dat"

// One record (line) of "3.dat". Strings are decoded text as read, untrimmed.
struct ScriptRecord {
    std::int16_t Scene = 0;
    std::string Cmd;
    std::int16_t Target = 0;
    std::string Place, Doll, Face, Spare, Speaker, Text, Arg1, Arg2, Arg3;
    std::int32_t Line = 0;  // line of "3.dat" the record came from, for messages
};

struct SeqEntry {
    std::int16_t Scene = 0;
    std::int32_t Pos = 0;
};

struct SctEntry {
    std::int16_t Sct = 0;
    std::string Label;
    std::int16_t Pos = 0;  // target scene while loading, then its first record
};

struct EngineState {
    // Scenario tables.
    std::vector<ScriptRecord> g_Script = std::vector<ScriptRecord>(kScriptMax);
    std::int32_t g_ScriptLast = 0;
    std::array<SeqEntry, kSeqMax> g_SeqTable{};
    std::int32_t g_SeqCount = 0;
    std::vector<SctEntry> g_SctTable = std::vector<SctEntry>(kSctMax);
    std::int32_t g_SctLast = 0;
    std::int32_t g_SctMax = 0;
    std::int32_t g_SctIndex = 0;

    // The current record.
    std::int32_t g_ScriptPos = 0;
    std::int16_t g_CurScene = 0;
    std::string g_Cmd;
    std::int16_t g_CurTarget = 0;
    std::int16_t g_Speaker = 0;
    std::string g_Text, g_Arg1, g_Arg2, g_Arg3;
    std::uint8_t g_DollSlot = 0;
    std::uint8_t g_DollNo = 0;
    std::uint8_t g_FaceNo = 0;

    // From "30.dat" (and the name entry).
    std::array<std::string, 6> g_Names{};
    std::array<std::string, 10> g_MusicFile{};

    // Half-day counter and game parameters.
    std::int16_t g_Day = 0;
    std::int16_t g_kok = 0, g_eig = 0, g_suu = 0, g_ben = 0;
    std::int16_t g_kou_iku = 0, g_kou_eki = 0, g_kou_umi = 0;
    std::int16_t g_hat_eki = 0, g_hat_umi = 0;
    std::int16_t g_hap = 0, g_kae = 0, g_chi = 0, g_hay = 0;
    std::array<std::int16_t, 3> g_GraphHist{};
    std::array<std::string, 21> g_Flags{};
    std::string g_DateText;  // "mm/dd AM" of the half-day last computed

    // Modes and the flags the waiting loops watch.
    std::int16_t g_MsgSpeed = 0;
    std::int16_t g_WaitClick = kFalse;
    std::int16_t g_Choice = 0;
    std::int16_t g_Running = kFalse;
    std::int16_t g_OptOpen = 0;
    std::int16_t g_FileMode = 0;
    std::int16_t g_BgmOn = kFalse;
    std::int16_t g_SeOn = kFalse;
    std::int16_t g_MixerOk = kFalse;
};

// One option of an open choice.
struct SelRow {
    std::int16_t no = 0;
    std::string label;
    std::int32_t pos = 0;  // target record
};

// Variables the game window keeps for itself.
struct WindowState {
    std::int16_t LineNo = 0;
    std::int16_t Line_height = 0;
    std::int16_t LastSpeaker = 0;
    std::array<std::string, 10> LogText{};
    std::array<platform::Color, 10> LogColor{};
    std::int16_t LogView = kFalse;
    std::int16_t SelArmed = kFalse;
    std::array<SelRow, 3> SelTable{};
    std::int16_t Place_no = 0;
};

}  // namespace dalvo
