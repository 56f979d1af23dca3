#include "engine/scenario_loader.h"

#include <vector>

#include "engine/field_reader.h"
#include "engine/game.h"
#include "engine/startup.h"
#include "platform/os/file_read.h"
#include "platform/codec/text_codec.h"

namespace dalvo {

namespace fs = std::filesystem;

namespace {

// Far past the largest table the records allow: a larger file is not a scenario.
constexpr std::size_t kMaxTextBytes = std::size_t{32} << 20;

std::string fault_text(const fs::path& file, int line, const std::string& what) {
    return "シナリオファイルが異常です.\n" + file.string() + " " + std::to_string(line) +
           "行目: " + what;
}

std::string number_fault(NumberError error, const std::string& field) {
    if (error == NumberError::OutOfRange) return "数値が16ビットの範囲を超えています「" + field + "」";
    return "数値ではありません「" + field + "」";
}

// The whole file; ends the program when it cannot be read.
std::string read_bytes(Game& game, std::string_view name) {
    const fs::path file = game.data.shown(name);
    std::string bytes;
    const platform::ReadFault fault = game.data.read(name, bytes, kMaxTextBytes);
    if (fault == platform::ReadFault::Missing || fault == platform::ReadFault::NotAFile) {
        data_fault(game, "シナリオファイルが異常です.\n" + file.string() + ": ファイルがありません");
    }
    if (fault == platform::ReadFault::TooLarge) {
        data_fault(game, "シナリオファイルが異常です.\n" + file.string() + ": ファイルが大きすぎます");
    }
    if (fault != platform::ReadFault::None) {
        data_fault(game, "シナリオファイルが異常です.\n" + file.string() + ": 読み込めません");
    }
    platform::cut_at_end_mark(bytes);
    return bytes;
}

std::int16_t scene_number(Game& game, const fs::path& file, int line, const std::string& field) {
    std::int16_t value = 0;
    const NumberError error = convert_scene_number(field, value);
    if (error != NumberError::None) data_fault(game, fault_text(file, line, number_fault(error, field)));
    return value;
}

void read_script(Game& game, std::string_view bytes) {
    EngineState& g = game.g;
    const fs::path file = game.data.shown("3.dat");
    const std::string text = platform::sjis_to_utf8(bytes);
    FieldReader in(text);
    std::string scene, target, dropped;
    g.g_ScriptLast = 0;
    while (true) {
        in.skip_blank_lines();
        if (in.at_end()) break;
        ScriptRecord rec;
        std::string* fields[13] = {&scene,      &rec.Cmd,   &target,   &rec.Place, &rec.Doll,
                                   &rec.Face,   &rec.Spare, &rec.Speaker, &rec.Text, &rec.Arg1,
                                   &rec.Arg2,   &rec.Arg3,  &dropped};
        for (int i = 0; i < 13; ++i) {
            if (!in.next(*fields[i])) {
                data_fault(game, fault_text(file, in.line(), "レコードが途中で終わっています"));
            }
            if (i == 0) rec.Line = in.line();
        }
        if (scene == "num") continue;  // a heading keeps no record
        if (g.g_ScriptLast >= kScriptMax) {
            data_fault(game, fault_text(file, rec.Line, "レコードが3001を超えています"));
        }
        rec.Scene = scene_number(game, file, rec.Line, scene);
        if (!target.empty()) rec.Target = scene_number(game, file, rec.Line, target);
        g.g_Script[g.g_ScriptLast++] = std::move(rec);
    }
    if (g.g_ScriptLast == 0) data_fault(game, fault_text(file, 1, "レコードがありません"));
    g.g_ScriptLast -= 1;
}

void build_scene_index(Game& game) {
    EngineState& g = game.g;
    const fs::path file = game.data.shown("3.dat");
    g.g_SeqCount = 0;
    int previous = -1;
    for (std::int32_t i = 0; i <= g.g_ScriptLast; ++i) {
        const ScriptRecord& rec = g.g_Script[i];
        // Each run of one scene gets an entry of its own, in file order: a scene that
        // comes back gets a second one, and a scene out of ascending order is found by
        // the binary search only where the search happens to look.
        if (rec.Scene == previous) continue;
        if (g.g_SeqCount >= kSeqMax) {
            data_fault(game, fault_text(file, rec.Line, "場面が501を超えています"));
        }
        g.g_SeqTable[g.g_SeqCount++] = SeqEntry{rec.Scene, i};
        previous = rec.Scene;
    }
}

void read_choices(Game& game, std::string_view bytes) {
    EngineState& g = game.g;
    const fs::path file = game.data.shown("39.dat");
    const std::string text = platform::sjis_to_utf8(bytes);
    FieldReader in(text);
    std::vector<int> lines;
    std::int32_t count = 0;
    std::string group, target;
    while (true) {
        in.skip_blank_lines();
        if (in.at_end()) break;
        SctEntry entry;
        std::string* fields[3] = {&group, &entry.Label, &target};
        int line = 0;
        for (int i = 0; i < 3; ++i) {
            if (!in.next(*fields[i])) {
                data_fault(game, fault_text(file, in.line(), "行が途中で終わっています"));
            }
            if (i == 0) line = in.line();
        }
        if (count >= kSctMax) data_fault(game, fault_text(file, line, "選択肢が201行を超えています"));
        entry.Sct = scene_number(game, file, line, group);
        entry.Pos = scene_number(game, file, line, target);
        g.g_SctTable[count++] = std::move(entry);
        lines.push_back(line);
    }
    g.g_SctLast = g.g_SctMax = count - 1;
    for (std::int32_t k = 0; k < count; ++k) {
        SctEntry& entry = g.g_SctTable[k];
        bool found = false;
        for (std::int32_t s = 0; s < g.g_SeqCount && !found; ++s) {
            if (g.g_SeqTable[s].Scene == entry.Pos) {
                entry.Pos = static_cast<std::int16_t>(g.g_SeqTable[s].Pos);
                found = true;
            }
        }
        if (!found) {
            data_fault(game, fault_text(file, lines[k],
                                        "選択肢の飛び先の場面 " + std::to_string(entry.Pos) +
                                            " がありません"));
        }
    }
}

}  // namespace

NumberError parse_int16(std::string_view text, std::int16_t& out) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return NumberError::NotNumber;
    long value = 0;
    bool too_big = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return NumberError::NotNumber;
        if (!too_big) value = value * 10 + (c - '0');
        if (value > 32768) too_big = true;
    }
    if (negative) value = -value;
    if (too_big || value > 32767 || value < -32768) return NumberError::OutOfRange;
    out = static_cast<std::int16_t>(value);
    return NumberError::None;
}

NumberError convert_scene_number(std::string_view field, std::int16_t& out) {
    if (field.empty()) return NumberError::NotNumber;
    const int n = platform::char_count(field);
    const std::string joined =
        platform::char_substr(field, 0, 1) + platform::char_substr(field, n < 3 ? 0 : n - 3);
    return parse_int16(joined, out);
}

void Load_scenario(Game& game) {
    const std::string script = read_bytes(game, "3.dat");
    const std::string choices = read_bytes(game, "39.dat");
    Load_scenario(game, script, choices);
}

void Load_scenario(Game& game, std::string_view script_bytes, std::string_view choice_bytes) {
    game.controls.read.set_story(script_bytes);
    read_script(game, script_bytes);
    build_scene_index(game);
    read_choices(game, choice_bytes);
}

bool Find_seq(Game& game, std::int16_t scene) {
    EngineState& g = game.g;
    std::int32_t low = 0;
    std::int32_t high = g.g_SeqCount - 1;
    while (low <= high) {
        // The middle is rounded half to even.
        const std::int32_t sum = low + high;
        std::int32_t middle = sum / 2;
        if (sum % 2 != 0 && middle % 2 != 0) middle += 1;
        const SeqEntry& entry = g.g_SeqTable[middle];
        if (entry.Scene == scene) {
            g.g_ScriptPos = entry.Pos;
            return true;
        }
        if (entry.Scene > scene) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    game.p.host.message_box("Not found NUM to SEQ", platform::MsgButtons::Ok);
    return false;
}

bool Find_sct(Game& game, std::int16_t group) {
    EngineState& g = game.g;
    for (std::int32_t k = 0; k <= g.g_SctMax; ++k) {
        if (g.g_SctTable[k].Sct == group) {
            g.g_SctIndex = k;
            return true;
        }
    }
    game.p.host.message_box("SCT not found.", platform::MsgButtons::Ok);
    return false;
}

void Jump_target(Game& game) {
    // A missing scene would re-run the jump for ever: the game ends after the one message.
    if (!Find_seq(game, game.g.g_CurTarget)) Window_unload(game, 1);
}

}  // namespace dalvo
