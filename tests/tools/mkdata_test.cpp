// The data-folder builder: a folder the start-up check accepts, pictures the stage can
// load, and text and music in the forms the game reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mkdata/mkdata.h"
#include "mkdata/music.h"
#include "platform/gfx/picture.h"
#include "support/fixture.h"

namespace dalvo {
namespace {

namespace fs = std::filesystem;
using test::FixtureFolder;

platform::Surface decode(const FixtureFolder& folder, const std::string& name) {
    platform::Surface s;
    std::string error;
    EXPECT_TRUE(platform::decode_picture(folder.read_bytes(name), s, error)) << name << ": " << error;
    return s;
}

// The sizes the stage needs are pinned by the checker passing the bundled game.
TEST(MkData, PicturesAreSealedSpritesFitTheStageAndThePointerHasItsHotSpotOnTheTip) {
    FixtureFolder folder;
    const std::pair<int, int> sealed[] = {{51, 54}, {61, 63}, {70, 82}, {91, 93}};
    for (const auto& [first, last] : sealed)
        for (int n = first; n <= last; ++n) EXPECT_EQ(folder.signature(std::to_string(n) + ".dat"), "JF") << n;
    for (const char* n : {"94.dat", "wall.bmp", "waku.bmp"}) EXPECT_EQ(folder.signature(n), "BM") << n;
    const platform::Surface title = decode(folder, "94.dat");
    EXPECT_EQ((std::pair{title.width(), title.height()}), (std::pair{640, 480}));
    // The frame's inside is the black of the message window.
    EXPECT_EQ(decode(folder, "waku.bmp").get(24, 24), platform::kBlack);

    // Sprites stand on the stage and faces fit their rectangles.
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

    platform::Cursor cursor;
    std::string error;
    ASSERT_TRUE(platform::decode_cursor(folder.read_bytes("select.cur"), cursor, error)) << error;
    EXPECT_EQ((std::pair{cursor.image.width(), cursor.image.height()}), (std::pair{32, 32}));
    EXPECT_TRUE(cursor.hot_x != 0 || cursor.hot_y != 0);
    // The tip is drawn, the far corner is not.
    EXPECT_NE(cursor.mask.get(cursor.hot_x, cursor.hot_y), platform::kWhite);
    EXPECT_EQ(cursor.mask.get(31, 0), platform::kWhite);
}

TEST(MkData, TextIsShiftJisWithCrLfAndDecodesBackToItsSource) {
    FixtureFolder folder;
    const std::string source = test::read_file(fs::path(DALVO_SOURCE_DIR) / "content/30.txt");
    const std::string stored = folder.read_text("30.dat");
    std::string expected;
    for (char c : source) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    // Read back through Shift-JIS: the names in it would not come back from UTF-8.
    EXPECT_EQ(stored, expected);

    // The same encoder under the fixture: a last line gets its line end, vendor marks survive.
    folder.write_text("39.dat", "1001,～はい①,1001\n1001,いいえ,1001");
    EXPECT_EQ(folder.read_text("39.dat"), "1001,～はい①,1001\r\n1001,いいえ,1001\r\n");

    mkdata::Bytes out;
    std::string error;
    EXPECT_FALSE(mkdata::encode_text("ok\nbad \xF0\x9F\x98\x80\n", out, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
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
    test::ScratchFolder scratch;
    const mkdata::DataFiles files{{"3.dat", {'1', '0'}}, {"wall.bmp", {'B', 'M'}}};
    const fs::path out = scratch.path() / "out" / "data";
    std::string error;
    ASSERT_TRUE(mkdata::write_data_folder(files, out, error)) << error;
    std::ofstream(out / "41.dat") << "saved";
    std::ofstream(out / "stale.dat") << "left over";
    ASSERT_TRUE(mkdata::write_data_folder(files, out, error)) << error;
    EXPECT_EQ(test::read_file(out / "41.dat"), "saved");
    EXPECT_FALSE(fs::exists(out / "stale.dat"));
    EXPECT_EQ(test::read_file(out / "3.dat"), "10");
    // Nothing of the work is left beside the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(out.parent_path()), fs::directory_iterator()), 1);
}

TEST(MkData, ContentWithAShortNamesListIsRefused) {
    test::ScratchFolder scratch;
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
