// The data-folder builder: a folder the start-up check accepts, pictures the stage can
// load, and text and music in the forms the game reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "mkdata/mkdata.h"
#include "mkdata/music.h"
#include "platform/picture.h"
#include "platform/text_codec.h"
#include "support/fixture.h"

namespace dalvo {
namespace {

namespace fs = std::filesystem;
using test::FixtureFolder;

std::string text_of(const std::vector<std::uint8_t>& b) { return {b.begin(), b.end()}; }

std::vector<std::string> crlf_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

platform::Surface decode(const FixtureFolder& folder, const std::string& name) {
    platform::Surface s;
    std::string error;
    EXPECT_TRUE(platform::decode_picture(folder.read_bytes(name), s, error)) << name << ": " << error;
    return s;
}

std::vector<std::string> numbered(int first, int last) {
    std::vector<std::string> names;
    for (int n = first; n <= last; ++n) names.push_back(std::to_string(n) + ".dat");
    return names;
}

std::vector<std::string> sealed_pictures() {
    std::vector<std::string> all;
    for (auto range : {numbered(51, 54), numbered(61, 63), numbered(70, 82), numbered(91, 93)})
        all.insert(all.end(), range.begin(), range.end());
    return all;
}

TEST(MkData, FolderHasEveryFileTheStartCheckNeeds) {
    FixtureFolder folder;
    std::vector<std::string> needed{"wall.bmp", "waku.bmp", "39.dat", "30.dat", "31.dat", "3.dat", "94.dat",
                                    "select.cur"};
    for (const std::string& n : sealed_pictures()) needed.push_back(n);
    const std::vector<std::string> names = crlf_lines(folder.read_text("30.dat"));
    ASSERT_EQ(names.size(), 25u);
    for (int line = 8; line <= 16; ++line) needed.push_back(names[static_cast<std::size_t>(line) - 1]);
    for (const std::string& n : needed) {
        std::error_code ec;
        EXPECT_GT(fs::file_size(folder.file(n), ec), 0u) << n;
    }
}

TEST(MkData, NumberedPicturesAreSealedAndDecodeAtStageSizes) {
    FixtureFolder folder;
    for (const std::string& n : sealed_pictures()) {
        const auto bytes = folder.read_bytes(n);
        ASSERT_GE(bytes.size(), 2u) << n;
        EXPECT_EQ(bytes[0], 'J') << n;
        EXPECT_EQ(bytes[1], 'F') << n;
    }
    for (const char* n : {"94.dat", "wall.bmp", "waku.bmp"}) EXPECT_EQ(text_of(folder.read_bytes(n)).substr(0, 2), "BM") << n;

    for (const std::string& n : numbered(70, 82)) {
        const platform::Surface s = decode(folder, n);
        EXPECT_EQ(s.width(), 640) << n;
        EXPECT_EQ(s.height(), 320) << n;
    }
    for (const std::string& n : numbered(91, 93)) EXPECT_EQ(decode(folder, n).width(), 640) << n;
    const platform::Surface title = decode(folder, "94.dat");
    EXPECT_EQ(title.width(), 640);
    EXPECT_EQ(title.height(), 480);
    EXPECT_EQ(decode(folder, "wall.bmp").width(), 64);
    EXPECT_EQ(decode(folder, "waku.bmp").height(), 48);
    // The frame's inside is the black of the message window.
    EXPECT_EQ(decode(folder, "waku.bmp").get(24, 24), platform::kBlack);
}

TEST(MkData, SpritesStandOnTheStageAndFacesFitTheirRectangles) {
    FixtureFolder folder;
    const int face_x[3] = {80, 60, 70}, face_y[3] = {60, 60, 70};
    for (int slot = 0; slot < 4; ++slot) {
        const platform::Surface sprite = decode(folder, std::to_string(51 + slot) + ".dat");
        // The sprite must fit above the stage's bottom edge without reaching the wall band.
        EXPECT_LE(sprite.height(), 368 - 25) << slot;
        EXPECT_EQ(sprite.get(0, 0), platform::kBlack) << "corner not transparent, slot " << slot;
        EXPECT_NE(sprite.get(sprite.width() / 2, sprite.height() / 2), platform::kBlack) << slot;
        if (slot == 3) continue;

        const platform::Surface strip = decode(folder, std::to_string(61 + slot) + ".dat");
        ASSERT_EQ(strip.height() % 3, 0) << slot;
        const int w = strip.width(), h = strip.height() / 3;
        ASSERT_LE(face_x[slot] + w, sprite.width()) << slot;
        ASSERT_LE(face_y[slot] + h, sprite.height()) << slot;
        // Face 1 is the sprite's own face; the others differ from it.
        int same_as_sprite[3] = {0, 0, 0};
        for (int f = 0; f < 3; ++f)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    same_as_sprite[f] += strip.get(x, f * h + y) == sprite.get(face_x[slot] + x, face_y[slot] + y);
        EXPECT_EQ(same_as_sprite[0], w * h) << slot;
        EXPECT_LT(same_as_sprite[1], w * h) << slot;
        EXPECT_LT(same_as_sprite[2], w * h) << slot;
    }
}

TEST(MkData, TextIsShiftJisWithCrLfAndDecodesBackToItsSource) {
    FixtureFolder folder;
    const std::string source = test::read_file(fs::path(DALVO_SOURCE_DIR) / "content/30.txt");
    const std::string stored = folder.read_text("30.dat");
    EXPECT_EQ(crlf_lines(stored).size(), 25u);
    std::string expected;
    for (char c : source) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(stored, expected);
    // Stored as Shift-JIS, not as the UTF-8 of the source.
    EXPECT_NE(text_of(folder.read_bytes("30.dat")), expected);

    // The fixture's own text override stores the same way.
    folder.write_text("39.dat", "1001,～はい①,1001\n1001,いいえ,1001");
    EXPECT_EQ(folder.read_text("39.dat"), "1001,～はい①,1001\r\n1001,いいえ,1001\r\n");

    mkdata::Bytes out;
    std::string error;
    EXPECT_FALSE(mkdata::encode_text("ok\nbad \xF0\x9F\x98\x80\n", out, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST(MkData, PointerIsACursorWithItsHotSpotOnTheTip) {
    FixtureFolder folder;
    const auto bytes = folder.read_bytes("select.cur");
    ASSERT_GE(bytes.size(), 22u);
    EXPECT_EQ(bytes[2], 2);  // a cursor, not an icon
    platform::Cursor cursor;
    std::string error;
    ASSERT_TRUE(platform::decode_cursor(bytes, cursor, error)) << error;
    EXPECT_EQ(cursor.image.width(), 32);
    EXPECT_EQ(cursor.image.height(), 32);
    EXPECT_TRUE(cursor.hot_x != 0 || cursor.hot_y != 0);
    // The tip is drawn, the far corner is not.
    EXPECT_NE(cursor.mask.get(cursor.hot_x, cursor.hot_y), platform::kWhite);
    EXPECT_EQ(cursor.mask.get(31, 0), platform::kWhite);
}

// Walks the chunks of a Standard MIDI File; returns the number of tracks or -1.
int midi_tracks(const std::vector<std::uint8_t>& b) {
    auto be32 = [&](std::size_t i) {
        return static_cast<std::size_t>(b[i]) << 24 | static_cast<std::size_t>(b[i + 1]) << 16 |
               static_cast<std::size_t>(b[i + 2]) << 8 | b[i + 3];
    };
    if (b.size() < 14 || text_of({b.begin(), b.begin() + 4}) != "MThd" || be32(4) != 6) return -1;
    const int format = b[8] << 8 | b[9], declared = b[10] << 8 | b[11];
    if (format != 1) return -1;
    int tracks = 0;
    for (std::size_t i = 14; i < b.size(); ++tracks) {
        if (i + 8 > b.size() || text_of({b.begin() + i, b.begin() + i + 4}) != "MTrk") return -1;
        const std::size_t end = i + 8 + be32(i + 4);
        if (end > b.size() || b[end - 3] != 0xFF || b[end - 2] != 0x2F || b[end - 1] != 0) return -1;
        i = end;
    }
    return tracks == declared ? tracks : -1;
}

TEST(MkData, MusicFilesAreStandardMidiWithATempoTrack) {
    FixtureFolder folder;
    const std::vector<std::string> names = crlf_lines(folder.read_text("30.dat"));
    for (int line = 8; line <= 16; ++line) {
        const std::string& name = names[static_cast<std::size_t>(line) - 1];
        EXPECT_GE(midi_tracks(folder.read_bytes(name)), 2) << name;
    }
}

// Long enough for the loop timer to be heard at work, short enough to loop within a scene;
// every piece has a tune, harmony, a bass and drums on the drum channel.
TEST(MkData, EveryPieceLastsAboutAMinuteWithDrumsOnChannelTen) {
    for (int n = 1; n <= mkdata::kMusicCount; ++n) {
        const mkdata::Song song = mkdata::compose_piece(n);
        int end = 0;
        bool drums = false;
        for (const mkdata::NoteTrack& t : song.tracks) {
            EXPECT_FALSE(t.notes.empty()) << n << " " << t.name;
            for (const mkdata::Note& note : t.notes) end = std::max(end, note.start + note.length);
            drums = drums || (t.channel == 9 && !t.notes.empty());
        }
        const double seconds = end / double(mkdata::kTicksPerBeat) * 60.0 / song.beats_per_minute;
        EXPECT_GE(seconds, 30.0) << n;
        EXPECT_LE(seconds, 90.0) << n;
        EXPECT_TRUE(drums) << n;
        EXPECT_GE(song.tracks.size(), 4u) << n;
    }
}

TEST(MkData, RebuildingReplacesTheFolderAndKeepsSaveSlots) {
    FixtureFolder scratch;
    mkdata::DataFiles files;
    std::string error;
    ASSERT_TRUE(mkdata::build_data(fs::path(DALVO_SOURCE_DIR) / "content", files, error)) << error;
    const fs::path out = scratch.path() / "out" / "data";
    ASSERT_TRUE(mkdata::write_data_folder(files, out, error)) << error;
    {
        std::ofstream(out / "41.dat") << "saved";
        std::ofstream(out / "stale.dat") << "left over";
    }
    ASSERT_TRUE(mkdata::write_data_folder(files, out, error)) << error;
    EXPECT_EQ(test::read_file(out / "41.dat"), "saved");
    EXPECT_FALSE(fs::exists(out / "stale.dat"));
    EXPECT_EQ(test::read_file(out / "3.dat"), text_of(files.at("3.dat")));
    // Nothing of the work is left beside the folder.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(out.parent_path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(MkData, ContentWithAShortNamesListIsRefused) {
    FixtureFolder scratch;
    const fs::path content = scratch.path() / "content";
    fs::create_directories(content);
    for (const char* name : {"3.txt", "39.txt", "31.txt"}) std::ofstream(content / name) << "x\n";
    std::string list;
    for (int i = 1; i <= 24; ++i) list += "line" + std::to_string(i) + "\n";
    std::ofstream(content / "30.txt") << list;
    mkdata::DataFiles files;
    std::string error;
    EXPECT_FALSE(mkdata::build_data(content, files, error));
    EXPECT_NE(error.find("30.txt"), std::string::npos) << error;
}

}  // namespace
}  // namespace dalvo
