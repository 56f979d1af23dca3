// The real sound devices, rendering into a file through SDL's disk audio driver.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/audio/soundfont.h"
#include "platform/sdl/sdl_audio.h"
#include "support/made_files.h"
#include "support/fixture.h"

namespace dalvo::test {
namespace {

constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr std::uintmax_t kBytesPerSecond = 44100 * 4;  // 16-bit stereo

// Waits, in real time since the device renders in real time, until `file` holds
// `bytes`; false after ten seconds.
bool wait_for_size(const std::filesystem::path& file, std::uintmax_t bytes) {
    std::error_code ec;
    for (int i = 0; i < 1000; ++i) {
        if (std::filesystem::file_size(file, ec) >= bytes && !ec) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The loudest 16-bit sample of `file` from byte `from` to byte `to`.
int peak(const Bytes& raw, std::size_t from, std::size_t to) {
    int out = 0;
    for (std::size_t i = from & ~std::size_t{1}; i + 1 < std::min(to, raw.size()); i += 2) {
        const auto s = static_cast<std::int16_t>(raw[i] | (raw[i + 1] << 8));
        out = std::max(out, std::abs(static_cast<int>(s)));
    }
    return out;
}

TEST(SdlAudio, TheChosenSoundfontWinsAndAWrongOneIsNamed) {
    FixtureFolder folder;
    folder.write_bytes("mine.sf2", std::string_view("RIFF\x10\0\0\0sfbkLIST", 16));
    folder.write_bytes("small.sf2", std::string_view("RIFF\x10\0\0\0sfbkLIST", 16));
    folder.write_bytes("piece.mid", std::string_view("MThd\0\0\0\x06\0\0\0\x01", 12));
    const std::string mine = folder.file("mine.sf2").string(), small = folder.file("small.sf2").string(),
                      piece = folder.file("piece.mid").string(), gone = folder.file("gone.sf2").string();
    const char* installed[] = {gone.c_str(), piece.c_str(), small.c_str()};

    auto choice = platform::choose_soundfont(mine, installed);
    EXPECT_EQ(choice.file, mine);
    EXPECT_EQ(choice.warning, "");
    // Without a choice, the first installed file that is a soundfont.
    choice = platform::choose_soundfont("", installed);
    EXPECT_EQ(choice.file, small);
    EXPECT_EQ(choice.warning, "");
    // A wrong choice is named, and the music still plays.
    for (const std::string& wrong : {piece, gone}) {
        choice = platform::choose_soundfont(wrong, installed);
        EXPECT_EQ(choice.file, small);
        EXPECT_EQ(choice.warning, "the soundfont " + wrong + " is missing or not a soundfont (.sf2); playing with " + small);
    }
    choice = platform::choose_soundfont(piece, std::span(installed, 2));
    EXPECT_EQ(choice.file, "");
    EXPECT_NE(choice.warning.find(piece), std::string::npos) << choice.warning;
    EXPECT_NE(choice.warning.find("music is off"), std::string::npos) << choice.warning;
}

TEST(SdlAudio, RendersMusicThroughTheSoundfont) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows plays MIDI through its own synthesizer, outside SDL's audio stream";
#endif
    if (!std::filesystem::exists(kSoundFont)) GTEST_SKIP() << "timgm6mb-soundfont is not installed";
    FixtureFolder folder;
    const std::filesystem::path out = folder.file("rendered.raw");
    // The disk driver writes what the mixer plays; a short delay renders faster than real time.
    const test::ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    const test::ScopedEnv file("SDL_DISKAUDIOFILE", out.string());
    const test::ScopedEnv delay("SDL_DISKAUDIODELAY", "5");

    // A C major chord on the piano, held for three seconds.
    const Bytes track = cat({{0x00, 0xC0, 0x00, 0x00, 0x90, 60, 110, 0x00, 64, 110, 0x00, 67, 110}, vlq(480 * 6),
                             {0x80, 60, 0, 0x00, 64, 0, 0x00, 67, 0, 0x00, 0xFF, 0x2F, 0x00}});
    folder.write_bytes("chord.mid", smf(0, 480, {track}));

    platform::RealClock clock;
    platform::Trace trace(clock);
    std::string warning;
    auto music = platform::make_sdl_music_device(clock, trace, kSoundFont, warning);
    ASSERT_EQ(warning, "");
    // The device opens in the background; the first piece waits for it.
    music->prepare();

    std::string answer;
    ASSERT_EQ(music->send("open \"" + folder.file("chord.mid").string() + "\" type sequencer alias midifile", answer), 0);
    ASSERT_EQ(music->send("play midifile from 0", answer), 0);
    ASSERT_EQ(music->send("status midifile mode", answer), 0);
    EXPECT_EQ(answer, "playing");
    // The device wrote silence since it opened; the piece starts with the next buffers.
    std::error_code ec;
    const std::uintmax_t played_from = std::filesystem::file_size(out, ec);
    ASSERT_TRUE(wait_for_size(out, played_from + kBytesPerSecond));
    EXPECT_EQ(music->send("close midifile", answer), 0);
    const Bytes raw = folder.read_bytes("rendered.raw");
    EXPECT_GT(peak(raw, played_from, played_from + kBytesPerSecond), 1000);
}

}  // namespace
}  // namespace dalvo::test
