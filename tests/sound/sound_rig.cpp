#include "sound/sound_rig.h"

#include "support/made_files.h"
#include "sound/sound.h"

namespace dalvo::test {

SoundRig::SoundRig(std::uint32_t master_level) : GameRig({.master_level = master_level}) {
    // Piece 1 lasts 3 s, piece 2 1 s; piece 3 is not a MIDI file, piece 4 is missing.
    folder().write_bytes("m1.mid", one_note(480 * 6));
    folder().write_bytes("m2.mid", one_note(480 * 2));
    folder().write_bytes("m3.mid", std::string_view("RIFF not a sequence"));
    g().g_BgmOn = kTrue;
    g().g_SeOn = kTrue;
    g().g_MusicFile = {"", "m1.mid", "m2.mid", "m3.mid", "m4.mid", "", "", "", "", ""};
    Sound_init(game());
}

void SoundRig::cmd(const std::string& cmd) {
    g().g_Cmd = cmd;
    Cmd_a(game());
}

void SoundRig::mixer_on() {
    Mixer_open(game());
    Vol_getctrl(game());
    Vol_get(game(), s().g_VolFirst);
    s().g_VolSaved = s().g_VolFirst;
    g().g_MixerOk = s().g_hMixer != 0 ? kTrue : kFalse;
}

}  // namespace dalvo::test
