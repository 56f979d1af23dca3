// Every input kept in fuzz/corpus/ (the seeds and whatever the fuzzers once broke a
// reader with) read again by the readers, so a fixed fault stays fixed in the normal
// and the sanitizer test runs without libFuzzer.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/scenario.h"
#include "platform/codec/audio_formats.h"
#include "platform/automation/script.h"
#include "platform/gfx/picture.h"
#include "platform/codec/text_codec.h"
#include "saveload/save_file.h"
#include "support/fixture.h"

namespace dalvo {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(DALVO_SOURCE_DIR) / "fuzz/corpus";

std::vector<std::pair<fs::path, std::string>> corpus(const std::string& target) {
    std::vector<std::pair<fs::path, std::string>> files;
    for (const auto& entry : fs::directory_iterator(kCorpus / target))
        files.emplace_back(entry.path(), test::read_file(entry.path()));
    EXPECT_FALSE(files.empty()) << "no inputs for " << target;
    return files;
}

std::span<const std::uint8_t> bytes_of(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(ReaderCorpus, BinaryReadersSurviveEveryKeptInput) {
    for (const auto& [file, bytes] : corpus("picture")) {
        platform::Surface s;
        std::string error;
        // Either a picture or a reason.
        EXPECT_TRUE(platform::decode_picture(bytes_of(bytes), s, error) ? !s.empty() : !error.empty()) << file;
    }
    bool huge_header = false;
    for (const auto& [file, bytes] : corpus("cursor")) {
        platform::Cursor c;
        std::string error;
        EXPECT_TRUE(!platform::decode_cursor(bytes_of(bytes), c, error) || !c.image.empty()) << file;
        // Found by fuzzing: an image header asking for millions of pixels reached the
        // decoder, which tried to allocate them.
        if (file.filename() != "huge-header.cur") continue;
        EXPECT_EQ(error, "bad cursor size");
        huge_header = true;
    }
    EXPECT_TRUE(huge_header);
    for (const auto& [file, bytes] : corpus("midi")) EXPECT_GE(platform::midi_length_ms(bytes_of(bytes)), -1) << file;
}

TEST(ReaderCorpus, TextReadersSurviveEveryKeptInput) {
    for (const auto& [file, text] : corpus("input_script")) {
        platform::Script script;
        std::string error;
        if (!platform::parse_script(text, file.filename().string(), script, error)) {
            EXPECT_EQ(error.rfind(file.filename().string() + ":", 0), 0u) << error;
        }
    }
    for (const auto& [file, bytes] : corpus("save")) EXPECT_NE(read_slot(file, 100).state, SlotState::Empty) << file;
    for (const std::string target : {"scenario", "check"})
        for (const auto& [file, bytes] : corpus(target)) {
            const std::size_t split = bytes.find('\0');
            check::Report report;
            const auto scenario = check::read_scenario(
                platform::sjis_to_utf8(bytes.substr(0, split)),
                split == std::string::npos ? "" : platform::sjis_to_utf8(bytes.substr(split + 1)), "3.dat",
                "39.dat", report);
            check::check_scenario(scenario, {}, report);
        }
}

}  // namespace
}  // namespace dalvo
