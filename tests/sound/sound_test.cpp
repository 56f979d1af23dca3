// The sound routines in a headless game: music and its loop, effects, the master
// level and its fades, and the script's sound command, checked through the trace.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "support/made_files.h"
#include "sound/sound.h"
#include "sound/sound_rig.h"

namespace dalvo::test {
namespace {

using ::testing::ElementsAre;

const std::string kPlay = "play midifile from 0";
const std::string kStop = "stop midifile ";
const std::string kClose = "close midifile";
const std::string kStatus = "status midifile mode";
// The master level set by a fade out from the reference level; then back at the reference level.
const std::vector<std::int64_t> kFadeOut = {65535, 57344, 49153, 40962, 32771, 24580, 16389, 8198, 7};
const std::vector<std::int64_t> kFadeOutAndBack = {65535, 57344, 49153, 40962, 32771, 24580, 16389, 8198, 7, 65535};

long count(const std::vector<std::string>& v, const std::string& s) { return std::count(v.begin(), v.end(), s); }

// The music commands without the status polls.
std::vector<std::string> actions(const std::vector<std::string>& mci) {
    std::vector<std::string> out;
    for (const std::string& c : mci) {
        if (c != kStatus) out.push_back(c.rfind("open", 0) == 0 ? "open" : c);
    }
    return out;
}

TEST(Music, APieceThatEndsIsRestartedWhileItsNumberIsHeldAndMusicIsOn) {
    SoundRig rig;
    rig.cmd("aB");  // piece 2 lasts 1 s
    EXPECT_THAT(actions(rig.mci()), ElementsAre("open", kPlay));
    EXPECT_TRUE(rig.s().BGMLoop->enabled());

    // Ended after 1 s; the timer's tick 2 s after the start finds it stopped.
    rig.idle(2150);
    EXPECT_EQ(count(rig.mci(), kPlay), 2);
    EXPECT_EQ(count(rig.mci(), kStop), 1);
    rig.idle(2150);
    EXPECT_EQ(count(rig.mci(), kPlay), 3);

    // Music switched off: the timer's ticks do nothing, not even ask the device.
    rig.g().g_BgmOn = kFalse;
    rig.clear_trace();
    rig.idle(6000);
    EXPECT_TRUE(rig.mci().empty());
}

TEST(Music, NothingIsSentForOddArgumentsAnUnnumberedPieceOrWithMusicAndEffectsOff) {
    SoundRig rig;
    BGM_stop(rig.game());
    for (const char* cmd : {"aL", "a!", "az", "aF", "a\xE3\x81\x82"}) rig.cmd(cmd);
    EXPECT_TRUE(rig.mci().empty());  // F names an empty entry
    EXPECT_TRUE(rig.events("wave").empty());
    // A piece started without its number (as the ending does) is not stopped either.
    BGM_play(rig.game(), music_path(rig.game(), 1));
    BGM_stop(rig.game());
    EXPECT_EQ(rig.game().p.music.peek().mode, "playing");

    // Effects off: "a1" neither waits nor is taken for anything else; then music off too.
    SoundRig off;
    off.cmd("a");  // alone: the first piece
    EXPECT_EQ(off.game().p.music.peek().file, music_path(off.game(), 1));
    off.g().g_SeOn = kFalse;
    off.clear_trace();
    const std::uint32_t start = off.now();
    off.cmd("a1");
    off.g().g_BgmOn = kFalse;
    off.cmd("a0");
    EXPECT_EQ(off.now(), start);
    EXPECT_TRUE(off.mci().empty());
    EXPECT_TRUE(off.events("wave").empty());
    EXPECT_EQ(off.s().g_BgmNo, 1);
}

TEST(Music, AFileThatIsMissingOrNoMidiSwitchesMusicOffAndTheGameGoesOn) {
    for (const char* cmd : {"aC", "aD"}) {
        SCOPED_TRACE(cmd);
        SoundRig rig;
        rig.cmd(cmd);
        EXPECT_EQ(rig.messages(), std::vector<std::string>{"MCI(midi_open) error."});
        EXPECT_EQ(rig.g().g_BgmOn, kFalse);
        EXPECT_FALSE(rig.s().BGMLoop->enabled());
        EXPECT_THAT(actions(rig.mci()), ElementsAre("open"));

        // Music stays off; effects still play, and hold the script for their length.
        rig.clear_trace();
        rig.cmd("aA");
        const std::uint32_t start = rig.now();
        rig.cmd("a1");
        EXPECT_GE(rig.now() - start, 998u);
        EXPECT_TRUE(rig.mci().empty());
        EXPECT_THAT(numbers(rig.events("wave"), "n"), ElementsAre(1));
    }
}

TEST(Mixer, FadesStepTheLevelEvery100Milliseconds) {
    SoundRig rig;
    rig.mixer_on();
    rig.clear_trace();
    Vol_fadeout(rig.game(), 65535);
    EXPECT_EQ(rig.levels(), kFadeOut);
    const std::vector<std::uint32_t> t = rig.times("level");
    for (std::size_t i = 1; i < t.size(); ++i) {
        EXPECT_GT(t[i] - t[i - 1], 100u);
        EXPECT_LE(t[i] - t[i - 1], 120u);
    }

    rig.clear_trace();
    for (int start = 0; start <= 7; ++start) Vol_fadeout(rig.game(), start);
    EXPECT_TRUE(rig.levels().empty());

    Vol_fadein(rig.game(), 65535);
    EXPECT_THAT(rig.levels(), ElementsAre(0, 8191, 16382, 24573, 32764, 40955, 49146, 57337, 65528));
}

TEST(SoundCommand, FadesNeedTheOptionAndWithItStopsAndRestartsFadeFirst) {
    SoundRig rig;
    rig.cmd("aA");
    rig.clear_trace();
    for (const char* cmd : {"aJ", "aK", "aj", "ak"}) rig.cmd(cmd);
    EXPECT_TRUE(rig.levels().empty());
    EXPECT_TRUE(rig.events("mixer").empty());

    // A stop fades first, even with music off.
    rig.mixer_on();
    rig.g().g_BgmOn = kFalse;
    rig.clear_trace();
    rig.cmd("a0");
    EXPECT_THAT(actions(rig.mci()), ElementsAre(kStop, kClose));
    EXPECT_EQ(rig.levels(), kFadeOutAndBack);
    EXPECT_EQ(rig.s().g_BgmNo, 0);
    EXPECT_FALSE(rig.s().BGMLoop->enabled());

    // The playing piece again: faded before the stop, back at the reference level after
    // the start from its beginning.
    rig.g().g_BgmOn = kTrue;
    rig.cmd("aB");
    rig.idle(500);
    rig.clear_trace();
    rig.cmd("ab");
    EXPECT_THAT(actions(rig.mci()), ElementsAre(kStop, kClose, "open", kPlay));
    EXPECT_EQ(rig.levels(), kFadeOutAndBack);
    EXPECT_EQ(rig.s().g_BgmNo, 2);

    // "aJ" fades out and leaves the piece playing.
    rig.clear_trace();
    rig.cmd("aJ");
    EXPECT_EQ(rig.levels(), kFadeOut);
    EXPECT_TRUE(actions(rig.mci()).empty());
}

TEST(SoundUnload, PutsTheLevelBackClosesTheMixerAndStopsTheMusic) {
    SoundRig rig(40000);
    rig.cmd("aA");
    rig.mixer_on();
    rig.cmd("aJ");
    rig.clear_trace();
    Sound_unload(rig.game());
    EXPECT_THAT(rig.levels(), ElementsAre(40000));
    ASSERT_EQ(rig.events("mixer").size(), 1u);
    EXPECT_EQ(rig.events("mixer")[0]["op"].str(), "close");
    EXPECT_THAT(actions(rig.mci()), ElementsAre(kStop, kClose));
}

}  // namespace
}  // namespace dalvo::test
