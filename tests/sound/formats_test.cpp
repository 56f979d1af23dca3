// Reading the length of music files and effect waves, and the effects the program carries.

#include <gtest/gtest.h>

#include <random>

#include "platform/audio.h"
#include "platform/audio_formats.h"
#include "sound/effect_waves.h"
#include "sound/midi_files.h"

namespace dalvo::test {
namespace {

using platform::midi_length_ms;

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes kEnd{0x00, 0xFF, 0x2F, 0x00};

TEST(MidiLength, FollowsTempoChangesAcrossTracks) {
    EXPECT_EQ(midi_length_ms(one_note(960)), 1000);

    // Tempo track: 120 bpm, then at beat 1 twice as fast. The note track runs 4 beats:
    // 500 ms + 3 beats at 250 ms.
    const Bytes tempo = cat({{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}, vlq(480),
                             {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}, kEnd});
    const Bytes notes = cat({{0x00, 0x90, 60, 100}, vlq(1920), {0x80, 60, 0}, kEnd});
    EXPECT_EQ(midi_length_ms(smf(1, 480, {tempo, notes})), 1250);
    // A tempo change on the very last tick changes nothing.
    const Bytes late = cat({vlq(4000), {0xFF, 0x51, 0x03, 0x00, 0x00, 0x01}, kEnd});
    EXPECT_EQ(midi_length_ms(smf(1, 480, {late, notes})), 4000 * 500 / 480 + 1);
}

TEST(MidiLength, ReadsRunningStatusSysexAndTimeCode) {
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
    const Bytes text{'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'A', 'V', 'E'};
    EXPECT_EQ(midi_length_ms(text), -1);
    EXPECT_EQ(midi_length_ms(smf(0, 480, {})), -1);  // no track at all
    EXPECT_EQ(midi_length_ms(smf(0, 0, {kEnd})), -1);  // no time base

    // Cut anywhere, a file plays up to where its bytes end.
    const Bytes whole = one_note(960);
    for (std::size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const std::int64_t ms = midi_length_ms(cut);
        EXPECT_LE(ms, 1000) << n;
        if (n >= 22) {
            EXPECT_GE(ms, 0) << n;  // header and track start present
        }
    }

    // Random damage and pure noise: an answer every time, never a hang.
    std::mt19937 rng(7);
    for (int i = 0; i < 3000; ++i) {
        Bytes b = i % 2 ? whole : Bytes(rng() % 64);
        if (i % 2) {
            for (int k = 0; k < 4; ++k) b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
        } else {
            for (auto& x : b) x = static_cast<std::uint8_t>(rng());
            if (b.size() >= 4) std::copy_n("MThd", 4, b.begin());
        }
        EXPECT_GE(midi_length_ms(b), -1);
    }
    // Huge deltas in a long file stay finite.
    Bytes big;
    for (int i = 0; i < 1000; ++i) big = cat({big, {0x8F, 0xFF, 0xFF, 0x7F, 0x90, 60, 1}});
    EXPECT_GT(midi_length_ms(smf(0, 1, {cat({big, kEnd})})), 0);
}

// Reads a little-endian field of a wave image.
std::uint32_t le(std::span<const std::uint8_t> b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v |= std::uint32_t{b[at + i]} << (8 * i);
    return v;
}

TEST(EffectWaves, HaveTheirFormatsAndLengthsAndAreNotSilent) {
    struct Want {
        std::uint32_t rate, bits, data, fmt_size;
        bool fact;
        std::int64_t ms;
    };
    const Want want[] = {{11025, 8, 1102, 16, false, 99}, {22050, 16, 44032, 16, false, 998},
                         {22050, 16, 2648, 18, true, 60}};
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        const auto w = effect_wave(n);
        const Want& x = want[n];
        ASSERT_GT(w.size(), 44u);
        EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
        EXPECT_EQ(le(w, 4, 4), w.size() - 8);
        EXPECT_EQ(le(w, 16, 4), x.fmt_size);
        EXPECT_EQ(le(w, 20, 2), 1u);  // PCM
        EXPECT_EQ(le(w, 22, 2), 1u);  // mono
        EXPECT_EQ(le(w, 24, 4), x.rate);
        EXPECT_EQ(le(w, 34, 2), x.bits);
        std::size_t at = 20 + x.fmt_size;
        if (x.fact) {
            EXPECT_EQ(std::string(w.begin() + at, w.begin() + at + 4), "fact");
            EXPECT_EQ(le(w, at + 8, 4), x.data / 2);
            at += 12;
        }
        EXPECT_EQ(std::string(w.begin() + at, w.begin() + at + 4), "data");
        EXPECT_EQ(le(w, at + 4, 4), x.data);
        EXPECT_EQ(w.size(), at + 8 + x.data);
        EXPECT_EQ(platform::wave_duration_ms(w), x.ms);

        // Loud somewhere, and fading out to quiet at the end (no click when it stops).
        std::int32_t peak = 0, last = 0;
        const std::size_t data = at + 8;
        for (std::size_t i = data; i + x.bits / 8 <= w.size(); i += x.bits / 8) {
            const std::int32_t s = x.bits == 8 ? static_cast<std::int32_t>(w[i]) - 128
                                               : static_cast<std::int16_t>(le(w, i, 2)) / 256;
            peak = std::max(peak, std::abs(s));
            last = std::abs(s);
        }
        EXPECT_GT(peak, 30);
        EXPECT_LT(last, 8);
    }
    for (int n : {-1, 3, 9, 100}) EXPECT_TRUE(effect_wave(n).empty()) << n;
    EXPECT_EQ(platform::wave_duration_ms(one_note(10)), -1);
}

}  // namespace
}  // namespace dalvo::test
