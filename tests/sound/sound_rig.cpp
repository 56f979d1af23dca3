#include "sound/sound_rig.h"

#include "platform/pacing.h"
#include "sound/midi_files.h"
#include "sound/sound.h"

namespace dalvo::test {

SoundRig::SoundRig(std::uint32_t master_level) {
    // Piece 1 lasts 3 s, piece 2 1 s; piece 3 is not a MIDI file, piece 4 is missing.
    folder_.write_bytes("m1.mid", one_note(480 * 6));
    folder_.write_bytes("m2.mid", one_note(480 * 2));
    folder_.write_bytes("m3.mid", std::string_view("RIFF not a sequence"));

    platform::PlatformOptions options;
    options.master_level = master_level;
    set_ = platform::make_headless_platform(options);
    set_->platform().trace.add_observer([this](const std::string& line) { trace_.push_back(line); });
    GameOptions game_options;
    game_options.data_dir = folder_.path();
    game_options.program_dir = folder_.path();
    game_options.autostart = false;
    game_ = std::make_unique<Game>(set_->platform(), game_options);
    game_->g_DataPath = folder_.path();
    game_->g.g_BgmOn = kTrue;
    game_->g.g_SeOn = kTrue;
    game_->g.g_MusicFile = {"", "m1.mid", "m2.mid", "m3.mid", "m4.mid", "", "", "", "", ""};
    Sound_init(*game_);
}

void SoundRig::idle(std::uint32_t ms) {
    const std::uint32_t start = now();
    platform::wait_until(game_->p.host, [&] { return now() - start >= ms; }, 10);
}

void SoundRig::cmd(const std::string& cmd) {
    game_->g.g_Cmd = cmd;
    Cmd_a(*game_);
}

void SoundRig::mixer_on() {
    Game& game = *game_;
    Mixer_open(game);
    Vol_getctrl(game);
    Vol_get(game, game.sound.g_VolFirst);
    game.sound.g_VolSaved = game.sound.g_VolFirst;
    game.g.g_MixerOk = game.sound.g_hMixer != 0 ? kTrue : kFalse;
}

std::vector<std::string> SoundRig::events(const std::string& ev) const {
    const std::string tag = "\"ev\":\"" + ev + "\"";
    std::vector<std::string> out;
    for (const std::string& line : trace_) {
        if (line.find(tag) != std::string::npos) out.push_back(line);
    }
    return out;
}

std::vector<std::string> SoundRig::mci() const {
    std::vector<std::string> out;
    for (const std::string& line : events("mci")) out.push_back(field(line, "cmd"));
    return out;
}

std::vector<std::int64_t> SoundRig::levels() const {
    std::vector<std::int64_t> out;
    for (const std::string& line : events("level")) out.push_back(std::stoll(field(line, "value")));
    return out;
}

}  // namespace dalvo::test
