// Background music: one piece on the sequencer device under the alias "midifile",
// kept alive by the timer BGMLoop.

#include <algorithm>
#include <cctype>

#include "engine/game.h"
#include "sound/sound.h"
#include "platform/pacing.h"

namespace dalvo {
namespace {

constexpr const char* kPlay = "play midifile from 0";
constexpr const char* kStop = "stop midifile ";
constexpr const char* kClose = "close midifile";
constexpr const char* kStatus = "status midifile mode";

// A device that never reports the awaited mode must not hold the game forever.
constexpr std::uint32_t kModeWaitMs = 5000;

std::int32_t send(Game& game, const std::string& command) {
    std::string ignored;
    game.sound.g_MciErr = game.p.music.send(command, ignored);
    return game.sound.g_MciErr;
}

// Shows the failure and leaves music off until the player switches it on again.
void music_failed(Game& game, const char* message) {
    game.p.host.message_box(message, platform::MsgButtons::Ok);
    game.g.g_BgmOn = kFalse;
}

bool waited_too_long(Game& game, std::uint32_t since) {
    return game.p.clock.ticks() - since >= kModeWaitMs;
}

void BGMLoop_Timer(Game& game) {
    if ((game.sound.g_BgmNo & game.g.g_BgmOn) != 0 && BGM_status(game) == "STOPPED") BGM_loop(game);
}

}  // namespace

void set_bgm_loop(Game& game, bool enabled) {
    if (game.sound.BGMLoop != nullptr) game.sound.BGMLoop->set_enabled(enabled, game.p.clock.ticks());
}

std::int32_t BGM_play(Game& game, const std::string& path) {
    platform::Host& host = game.p.host;
    if (send(game, "open \"" + path + "\" type sequencer alias midifile") != 0) {
        music_failed(game, "MCI(midi_open) error.");
        return game.sound.g_MciErr;
    }
    if (send(game, kPlay) != 0) {
        music_failed(game, "MCI(midi_play) error.");
        return game.sound.g_MciErr;
    }
    const std::uint32_t since = game.p.clock.ticks();
    while (true) {
        host.yield();
        if (BGM_status(game) == "PLAYING") break;
        if (waited_too_long(game, since)) {
            music_failed(game, "MCI(midi_play) error.");
            return -1;
        }
        game.p.clock.sleep(100);
    }
    set_bgm_loop(game, true);
    return 0;
}

void BGM_stop(Game& game) {
    SoundState& s = game.sound;
    if (s.g_BgmNo == 0) return;
    s.g_BgmNo = 0;
    set_bgm_loop(game, false);
    if (send(game, kStop) != 0) {
        music_failed(game, "MCI(midi_stop) error.");
        return;
    }
    const std::uint32_t since = game.p.clock.ticks();
    while (BGM_status(game) != "STOPPED") {
        if (waited_too_long(game, since)) {
            music_failed(game, "MCI(midi_stop) error.");
            return;
        }
        game.p.clock.sleep(100);
        game.p.host.yield();
    }
    if (send(game, kClose) != 0) {
        music_failed(game, "MCI(midi_close) error.");
    } else {
        game.p.host.yield();
    }
}

void BGM_loop(Game& game) {
    set_bgm_loop(game, false);
    send(game, kStop);
    platform::sleep_then_yield(game.p.host, 100);
    if (send(game, kPlay) != 0) {
        music_failed(game, "MCI(midi_loop) error.");
        return;
    }
    const std::uint32_t since = game.p.clock.ticks();
    while (BGM_status(game) != "PLAYING") {
        if (waited_too_long(game, since)) {
            music_failed(game, "MCI(midi_loop) error.");
            return;
        }
        game.p.clock.sleep(200);
        game.p.host.yield();
    }
    set_bgm_loop(game, true);
}

std::string BGM_status(Game& game) {
    SoundState& s = game.sound;
    // The answer comes back in a buffer of 15 characters.
    std::string answer;
    s.g_MciErr = game.p.music.send(kStatus, answer);
    s.g_MciMode = answer.substr(0, std::min<std::size_t>(answer.find('\0'), 15));
    for (char& c : s.g_MciMode) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s.g_MciMode;
}

std::string music_path(const Game& game, int n) {
    if (n < 1 || n > 9 || game.g.g_MusicFile[n].empty()) return {};
    // Entries were written for Windows: "\" between folders, any case.
    return game.data.path(game.g.g_MusicFile[n]).string();
}

void Sound_init(Game& game) {
    game.sound.BGMLoop =
        &game.p.host.add_timer("BGMLoop", 2000, [&game] { BGMLoop_Timer(game); });
    set_bgm_loop(game, false);
    game.dump_parts.push_back([&game](platform::JsonWriter& out) { dump_sound(game, out); });
}

void Sound_unload(Game& game) {
    if (game.g.g_MixerOk != 0) {
        Vol_set(game, game.sound.g_VolSaved);
        Mixer_close(game);
    }
    if (game.g.g_BgmOn != 0) BGM_stop(game);
}

void dump_sound(const Game& game, platform::JsonWriter& out) {
    const SoundState& s = game.sound;
    out.field("g_BgmNo", s.g_BgmNo);
    out.field("g_BgmReq", s.g_BgmReq);
    out.field("g_VolFirst", s.g_VolFirst);
    out.field("g_VolSaved", s.g_VolSaved);

    const platform::MusicDevice::Peek music = game.p.music.peek();
    std::string file = music.file;
    // Inside the data folder the file is named as the music list names it.
    // Windows joins the folder and the name with a backslash.
    const auto separator = [](char c) { return c == '/' || c == '\\'; };
    const std::u8string path = game.g_DataPath.u8string();
    std::string folder(path.begin(), path.end());
    while (!folder.empty() && separator(folder.back())) folder.pop_back();
    if (!folder.empty() && file.size() > folder.size() && file.starts_with(folder) && separator(file[folder.size()])) {
        file.erase(0, folder.size() + 1);
    }
    out.key("music").begin_object().field("state", music.mode).field("file", file).end_object();

    std::uint32_t level = 0;
    game.p.master.get(level);
    out.field("master_level", static_cast<std::int64_t>(level));
}

}  // namespace dalvo
