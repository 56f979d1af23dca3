// The headless music device: the command strings, its answers, and its time.

#include <gtest/gtest.h>

#include "platform/headless/null_audio.h"
#include "platform/audio/sequencer.h"
#include "platform/host_fixture.h"
#include "support/made_files.h"
#include "support/fixture.h"
#include "support/json_value.h"

namespace dalvo::test {
namespace {

namespace mci = platform::mci_error;

// The device on a virtual clock, its trace lines kept.
struct Device : platform::testing_host::HostFixture {
    std::unique_ptr<platform::MusicDevice> music = platform::make_headless_music_device(clock, trace);

    int send(const std::string& cmd) {
        std::string ignored;
        return music->send(cmd, ignored);
    }
    std::string mode() {
        std::string out;
        EXPECT_EQ(music->send("status midifile mode", out), 0);
        return out;
    }
};

std::string open_cmd(const std::filesystem::path& p) {
    return "open \"" + p.string() + "\" type sequencer alias midifile";
}

TEST(MusicDevice, PlaysForThePiecesLengthAndAnswersErrorsAsTheSequencerDid) {
    FixtureFolder folder;
    folder.write_bytes("a.mid", rmid(one_note(960)));  // 1000 ms, in the RIFF form
    Device d;
    ASSERT_EQ(d.send(open_cmd(folder.file("a.mid"))), 0);
    EXPECT_EQ(d.mode(), "stopped");
    EXPECT_EQ(d.send("play midifile from 0"), 0);
    EXPECT_EQ(d.mode(), "playing");
    d.clock.advance(999);
    EXPECT_EQ(d.mode(), "playing");
    d.clock.advance(1);
    EXPECT_EQ(d.mode(), "stopped");
    // Again from the start; a stop ends it at once.
    EXPECT_EQ(d.send("play midifile from 0"), 0);
    d.clock.advance(400);
    EXPECT_EQ(d.send("stop midifile "), 0);
    EXPECT_EQ(d.mode(), "stopped");
    EXPECT_EQ(d.send("close midifile"), 0);
    EXPECT_EQ(d.music->peek().mode, "closed");

    // Every command is in the trace with its answer, the last one refused: nothing is open.
    EXPECT_EQ(d.send("status midifile mode"), mci::kInvalidDeviceName);
    ASSERT_GE(d.lines.size(), 2u);
    EXPECT_TRUE(matches(Json::parse(d.lines.end()[-2]), R"({"cmd":"close midifile","ret":0})"));
    EXPECT_EQ(Json::parse(d.lines.back())["ret"].num(), 263);

    // Errors are answered as the sequencer did.
    folder.write_bytes("b.mid", std::string_view("MThd garbage"));
    folder.write_bytes("c.rmi", rmid(one_note(960), false));
    EXPECT_EQ(d.send(open_cmd(folder.file("c.rmi"))), mci::kInvalidFile);
    EXPECT_EQ(d.send(open_cmd(folder.file("none.mid"))), mci::kFileNotFound);
    EXPECT_EQ(d.send(open_cmd(folder.file("b.mid"))), mci::kInvalidFile);
    EXPECT_EQ(d.send("play midifile from 0"), mci::kInvalidDeviceName);
    EXPECT_EQ(d.send("rewind midifile"), mci::kUnrecognizedCommand);

    ASSERT_EQ(d.send(open_cmd(folder.file("a.mid"))), 0);
    EXPECT_EQ(d.send(open_cmd(folder.file("a.mid"))), mci::kDuplicateAlias);
    EXPECT_EQ(d.send("play midifile from x"), mci::kUnrecognizedKeyword);
    // Case does not matter to the device, and the piece is still there.
    EXPECT_EQ(d.send("PLAY MidiFile FROM 0"), 0);
    EXPECT_EQ(d.mode(), "playing");
}

}  // namespace
}  // namespace dalvo::test
