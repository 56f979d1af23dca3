#include "engine/startup.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "daycycle/daycycle.h"
#include "engine/game.h"
#include "engine/message.h"
#include "engine/scenario_loader.h"
#include "platform/os/file_read.h"
#include "platform/codec/text_codec.h"
#include "sound/sound.h"
#include "stage/stage.h"
#include "stage/stage_util.h"

namespace dalvo {

namespace fs = std::filesystem;

namespace {

// File error numbers as the player sees them in the abnormal-file message.
constexpr int kErrEmptyFile = 59;
constexpr int kErrPastEnd = 62;
constexpr int kErrAccess = 75;
// The names list is 25 short lines; a larger file is not one.
constexpr std::size_t kMaxNamesListBytes = std::size_t{1} << 20;

// A failed check: the message to show.
struct CheckFailure {
    std::string message;
};

// The folder with the system's own separator at its end, in UTF-8.
std::string folder_text(const fs::path& dir) {
    const std::u8string s = (dir / "").u8string();
    return {s.begin(), s.end()};
}

CheckFailure missing(const std::string& what) {
    return {"実行に必要なﾌｧｲﾙがありません. file" + what};
}

CheckFailure abnormal(int number) {
    return {"実行に必要なﾌｧｲﾙが異常です.(" + std::to_string(number) + ")"};
}

// A file that must exist and hold something; `shown` is what the missing-file message names.
void require_file(const fs::path& file, const std::string& shown) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) throw missing(shown);
    const auto size = fs::file_size(file, ec);
    if (ec) throw abnormal(kErrAccess);
    if (size == 0) throw abnormal(kErrEmptyFile);
}

// Writes the two bytes at the start of a picture file, leaving the rest as it is. A
// folder that cannot be written keeps its pictures as they are: the decoder reads a
// sealed picture as well as an open one.
bool write_seal(Game& game, const fs::path& file, const char marker[2]) {
    if (game.data.writable()) {
        std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
        if (!out) return false;
        out.seekp(0);
        out.write(marker, 2);
        out.flush();
        if (!out) return false;
    }
    game.p.trace.event("seal", {{"file", file.filename().string()},
                                {"marker", std::string(marker, 2)}});
    return true;
}

std::string picture_file(int number) { return std::to_string(number) + ".dat"; }

// The numbered pictures in the order the check unseals them.
std::vector<int> pictures_checked() {
    std::vector<int> list;
    for (int n = 51; n <= 54; ++n) list.push_back(n);
    for (int n = 61; n <= 63; ++n) list.push_back(n);
    for (int n = 70; n <= 82; ++n) list.push_back(n);
    for (int n = 91; n <= 93; ++n) list.push_back(n);
    return list;
}

// The same pictures in the order the unload seals them again.
std::vector<int> pictures_sealed() {
    std::vector<int> list;
    for (int n = 51; n <= 54; ++n) list.push_back(n);
    for (int k = 1; k <= 3; ++k) {
        list.push_back(60 + k);
        list.push_back(90 + k);
    }
    for (int n = 70; n <= 82; ++n) list.push_back(n);
    return list;
}

void check_all(Game& game) {
    const platform::DataFolder& data = game.data;
    for (const char* name : {"waku.bmp", "wall.bmp", "39.dat"}) require_file(data.path(name), "");
    for (const char* stem : {"30", "31"}) {
        require_file(data.path(std::string(stem) + ".dat"), data.shown(stem).string());
    }
    for (int n : pictures_checked()) {
        const fs::path file = data.write_path(picture_file(n));
        require_file(file, data.shown(std::to_string(n)).string());
        // A picture that can be read but not written (copied from a CD-ROM with its
        // read-only mark) plays as it is; one that cannot be read is the fault.
        if (!write_seal(game, file, "BM") && !std::ifstream(file, std::ios::binary)) throw abnormal(kErrAccess);
    }
    std::string bytes;
    if (data.read("30.dat", bytes, kMaxNamesListBytes) != platform::ReadFault::None) {
        throw abnormal(kErrAccess);
    }
    platform::cut_at_end_mark(bytes);
    std::string fault;
    const std::optional<NamesList> list = read_names_list(bytes, data.shown("30.dat"), fault);
    if (!list) throw CheckFailure{fault};
    for (int i = 1; i <= 5; ++i) game.g.g_Names[i] = list->names[i - 1];
    for (int i = 1; i <= 9; ++i) game.g.g_MusicFile[i] = list->music[i - 1];
    for (int i = 1; i <= 9; ++i) {
        require_file(data.path(game.g.g_MusicFile[i]), data.shown(game.g.g_MusicFile[i]).string());
    }
}

}  // namespace

std::optional<NamesList> read_names_list(std::string_view bytes, const fs::path& file, std::string& fault) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (lines.size() < 25 && start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(platform::sjis_to_utf8(line));
        start = end + 1;
    }
    if (lines.size() < 25) {
        fault = abnormal(kErrPastEnd).message;
        return std::nullopt;
    }
    // The player's two names go into every save, whose values hold no comma or double quote.
    for (int i = 0; i < 2; ++i) {
        if (lines[i].find_first_of(",\"") == std::string::npos) continue;
        fault = "実行に必要なﾌｧｲﾙが異常です.\n" + file.string() + " " + std::to_string(i + 1) +
                "行目: 名前に「,」と「\"」は使えません「" + lines[i] + "」";
        return std::nullopt;
    }
    NamesList list;
    for (int i = 0; i < 5; ++i) list.names[i] = lines[i];
    for (int i = 0; i < 9; ++i) list.music[i] = lines[i + 7];
    return list;
}

fs::path find_data_path(const GameOptions& options) {
    if (!options.data_dir.empty()) return options.data_dir;
    std::error_code ec;
    const fs::path beside = options.program_dir / "data";
    if (fs::is_directory(beside, ec)) return beside;
    // An installed program, PREFIX/bin/dalvo (PREFIX/games/dalvo in the system's own
    // packages), plays the game installed as PREFIX/share/dalvo.
    const fs::path folder = options.program_dir.filename();
    const fs::path installed = options.program_dir.parent_path() / "share" / "dalvo";
    if ((folder == "bin" || folder == "games") && fs::is_directory(installed, ec)) return installed;
    return options.program_dir;
}

void Pict_unlock(Game& game, const fs::path& file) { write_seal(game, file, "BM"); }

void Pict_lock(Game& game, const fs::path& file) {
    // A picture that is missing at exit stays missing rather than becoming a two-byte file.
    std::error_code ec;
    if (fs::is_regular_file(file, ec)) write_seal(game, file, "JF");
}

void Check_files(Game& game) {
    try {
        check_all(game);
    } catch (const CheckFailure& failure) {
        game.p.host.message_box(failure.message, platform::MsgButtons::Ok);
        Window_unload(game, 1);
    }
}

void data_fault(Game& game, std::string_view message) {
    game.p.host.message_box(message, platform::MsgButtons::Ok);
    Window_unload(game, 1);
}

namespace {

[[noreturn]] void script_fault(Game& game, int line, std::int16_t scene, std::string_view what) {
    data_fault(game, "シナリオが異常です.\n" + game.data.shown("3.dat").string() + " " +
                         std::to_string(line) + "行目 (場面 " + std::to_string(scene) + "): " +
                         std::string(what));
}

}  // namespace

void record_fault(Game& game, std::string_view what) {
    const EngineState& g = game.g;
    const int line = g.g_ScriptPos >= 0 && g.g_ScriptPos < kScriptMax
                         ? g.g_Script[g.g_ScriptPos].Line
                         : 0;
    script_fault(game, line, g.g_CurScene, what);
}

void record_fault(Game& game, std::int32_t pos, std::string_view what) {
    const bool inside = pos >= 0 && pos < kScriptMax;
    const ScriptRecord* rec = inside ? &game.g.g_Script[pos] : nullptr;
    script_fault(game, rec ? rec->Line : 0, rec ? rec->Scene : game.g.g_CurScene, what);
}

void Window_load(Game& game) {
    platform::Host& host = game.p.host;
    EngineState& g = game.g;
    WindowState& w = game.w;

    // The window appears with the title (Title_disp), in its final place: the stage built
    // before it is never seen on its own.
    host.set_busy_cursor(true);
    game.ui.form.set_client_size(640, 480);
    game.ui.form.on_close_request = [&game] { Window_unload(game, 0); };
    Message_connect(game);

    game.g_AppPath = game.options.program_dir;
    game.g_DataPath = find_data_path(game.options);
    game.data = platform::DataFolder(game.g_DataPath);
    std::error_code ec;
    if (!fs::is_regular_file(game.data.path("wall.bmp"), ec)) {
        // Nothing is open yet, so there is nothing to put back.
        host.message_box("フォルダの内容が不正です.\n" + folder_text(game.g_DataPath),
                         platform::MsgButtons::Ok);
        host.end_program(1);
    }

    if (!game.data.writable()) {
        // Said once, so a player of a mounted copy knows where the saved games are.
        std::fprintf(stderr, "dalvo: the data folder %s cannot be written; saved games go to %s\n",
                     game.g_DataPath.string().c_str(), game.data.save_folder().string().c_str());
    }

    g.g_BgmOn = kTrue;
    g.g_SeOn = kTrue;
    g.g_MixerOk = kFalse;
    Sound_init(game);

    g.g_MsgSpeed = 3;
    w.LineNo = -1;
    g.g_ScriptPos = 0;
    g.g_Day = 0;
    g.g_suu = 10;
    g.g_eig = 16;
    g.g_kok = 20;
    g.g_GraphHist = {40, static_cast<std::int16_t>(2 * g.g_suu),
                     static_cast<std::int16_t>(2 * g.g_eig)};
    for (int i = 0; i <= 17; ++i) g.g_Flags[i] = std::string(1, '0');

    Stage_init(game);
    Waku_draw(game);
    Title_disp(game);
    Check_files(game);
    report_frame_pictures(game);
    Load_scenario(game);
    Doll_preload(game);
    host.set_busy_cursor(false);
}

void Window_unload(Game& game, int exit_code) {
    // A close request served while the music winds down ends the program from inside
    // this step: that inner call skips the sound and seals the pictures itself.
    const bool first = !game.unloading;
    game.unloading = true;
    if (first) {
        Controls_save(game);
        Sound_unload(game);
    }
    for (int n : pictures_sealed()) Pict_lock(game, game.data.write_path(picture_file(n)));
    game.p.host.end_program(exit_code);
}

}  // namespace dalvo
