// Reading the length of music files and effect waves, and the effects the program carries.

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "platform/codec/audio_formats.h"
#include "sound/effect_waves.h"
#include "support/made_files.h"

namespace dalvo::test {
namespace {

using platform::midi_length_ms;

const Bytes kEnd{0x00, 0xFF, 0x2F, 0x00};

// A single tempo's length is the music device's time to play it, checked there.
TEST(MidiLength, FollowsTempoChangesAcrossTracks) {
    // Tempo track: 120 bpm, then at beat 1 twice as fast. The note track runs 4 beats:
    // 500 ms + 3 beats at 250 ms.
    const Bytes tempo = cat({{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}, vlq(480),
                             {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}, kEnd});
    const Bytes notes = cat({{0x00, 0x90, 60, 100}, vlq(1920), {0x80, 60, 0}, kEnd});
    EXPECT_EQ(midi_length_ms(smf(1, 480, {tempo, notes})), 1250);
    // A tempo change on the very last tick changes nothing.
    const Bytes late = cat({vlq(4000), {0xFF, 0x51, 0x03, 0x00, 0x00, 0x01}, kEnd});
    EXPECT_EQ(midi_length_ms(smf(1, 480, {late, notes})), 4000 * 500 / 480 + 1);

    // Running status: three note-ons and a program change without status bytes repeated.
    const Bytes running = cat({{0x00, 0x90, 60, 100, 0x00, 64, 100, 0x00, 67, 100}, vlq(240),
                               {0xC1, 5}, vlq(240), {0x90, 60, 0}, vlq(480), {64, 0}, kEnd});
    EXPECT_EQ(midi_length_ms(smf(0, 480, {running})), 1000);
    // A system exclusive message in the middle.
    const Bytes sysex = cat({{0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}, vlq(96), {0x90, 60, 1}, kEnd});
    EXPECT_EQ(midi_length_ms(smf(0, 96, {sysex})), 500);
    // 25 frames of 40 ticks: a tick is a millisecond whatever the tempo says.
    const Bytes smpte = cat({{0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}, vlq(1500), {0x90, 60, 1}, kEnd});
    EXPECT_EQ(midi_length_ms(smf(0, static_cast<std::uint16_t>((0xE7 << 8) | 40), {smpte})), 1500);
}

TEST(MidiLength, RefusesWhatIsNoSequenceAndSurvivesBrokenOnes) {
    EXPECT_EQ(midi_length_ms({}), -1);
    EXPECT_EQ(midi_length_ms(smf(0, 480, {})), -1);  // no track at all
    EXPECT_EQ(midi_length_ms(smf(0, 0, {kEnd})), -1);  // no time base

    // Cut anywhere, a file plays up to where its bytes end.
    const Bytes whole = one_note(960);
    for (std::size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const std::int64_t ms = midi_length_ms(cut);
        EXPECT_LE(ms, 1000) << n;
        EXPECT_TRUE(n < 22 || ms >= 0) << n;  // header and track start present
    }

    // Huge deltas in a long file stay finite.
    Bytes big;
    for (int i = 0; i < 1000; ++i) big = cat({big, {0x8F, 0xFF, 0xFF, 0x7F, 0x90, 60, 1}});
    EXPECT_GT(midi_length_ms(smf(0, 1, {cat({big, kEnd})})), 0);
}

TEST(MidiLength, ARiffFileCountsByTheSequenceItCarries) {
    const auto length = [](const Bytes& file) { return midi_length_ms(platform::midi_sequence(file)); };
    const Bytes piece = one_note(960);
    EXPECT_EQ(length(piece), 1000);
    EXPECT_EQ(length(rmid(piece)), 1000);
    EXPECT_EQ(length(rmid(piece, false)), -1);
    Bytes wave = rmid(piece);
    std::copy_n("WAVE", 4, wave.begin() + 8);
    EXPECT_EQ(length(wave), -1);
    // A "data" chunk longer than the file plays what is there.
    Bytes cut = rmid(piece);
    cut.resize(cut.size() - 4);
    EXPECT_EQ(length(cut), 1000);
    for (std::size_t n = 0; n < cut.size(); ++n) EXPECT_LE(length(Bytes(cut.begin(), cut.begin() + n)), 1000) << n;
}

TEST(EffectWaves, HaveTheirLengthsAndAreNotSilent) {
    const std::int64_t ms[] = {99, 998, 60};
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        const auto w = effect_wave(n);
        EXPECT_EQ(platform::wave_duration_ms(w), ms[n]);
        // Loud somewhere, and fading out to quiet at the end (no click when it stops).
        const bool eight_bit = w[34] == 8;
        const std::string_view text(reinterpret_cast<const char*>(w.data()), w.size());
        std::int32_t peak = 0, last = 0;
        for (std::size_t i = text.find("data") + 8; i + (eight_bit ? 1 : 2) <= w.size(); i += eight_bit ? 1 : 2) {
            const std::int32_t v = eight_bit ? w[i] - 128 : static_cast<std::int16_t>(w[i] | w[i + 1] << 8) / 256;
            peak = std::max(peak, std::abs(v));
            last = std::abs(v);
        }
        EXPECT_GT(peak, 30);
        EXPECT_LT(last, 8);
    }
    EXPECT_TRUE(effect_wave(3).empty());
    EXPECT_EQ(platform::wave_duration_ms(one_note(10)), -1);
}

}  // namespace
}  // namespace dalvo::test
