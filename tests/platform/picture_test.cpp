// Bitmaps (plain and sealed), damaged files, the pointer file, PNG output, and the file
// mapping pictures are read through.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/os/mapped_file.h"
#include "platform/gfx/picture.h"
#include "support/fixture.h"
#include "support/made_files.h"

namespace dalvo::platform {
namespace {

using test::Bytes;
using test::put;

// The 40-byte header, then rows bottom-up of blue, green, red (and for 32 bits an
// alpha byte: 0 where `transparent` is white), each row padded to four bytes.
void put_dib(Bytes& b, const Surface& s, int bits, int header_height, const Surface* transparent) {
    put(b, {{40, 4}, {s.width(), 4}, {header_height, 4}, {1, 2}, {bits, 2}, {0, 8}, {0, 8}, {0, 8}});
    for (int y = s.height() - 1; y >= 0; --y) {
        const std::size_t start = b.size();
        for (int x = 0; x < s.width(); ++x) {
            const bool clear = transparent != nullptr && transparent->get(x, y) == kWhite;
            put(b, {{to_pixel(s.get(x, y)) | (clear ? 0 : 0xFF000000), bits / 8}});
        }
        while ((b.size() - start) % 4 != 0) b.push_back(0);
    }
}

// A bitmap file of 24 or 32 bits a pixel.
Bytes make_bmp(const Surface& s, int bits = 24) {
    const int stride = (s.width() * bits / 8 + 3) & ~3;
    Bytes b = {'B', 'M'};
    put(b, {{54 + stride * s.height(), 4}, {0, 4}, {54, 4}});
    put_dib(b, s, bits, s.height(), nullptr);
    return b;
}

// One 32-bit image with its 1-bit transparency mask; the hot spot sits in the directory.
Bytes make_cur(const Surface& image, const Surface& transparent, int hot_x, int hot_y) {
    const int w = image.width(), h = image.height(), stride = ((w + 31) / 32) * 4;
    Bytes b;
    put(b, {{0, 2}, {2, 2}, {1, 2}, {w, 1}, {h, 1}, {0, 2}, {hot_x, 2}, {hot_y, 2},
            {40 + w * h * 4 + stride * h, 4}, {22, 4}});
    put_dib(b, image, 32, 2 * h, &transparent);
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < w; ++x)
            if (transparent.get(x, y) == kWhite) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

Surface sample_picture() {
    Surface s(3, 2);
    const Color colours[] = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(1, 2, 3), kWhite, rgb(0, 0, 1)};
    for (int i = 0; i < 6; ++i) s.set(i % 3, i / 3, colours[i]);
    return s;
}

// The sample picture as an 8-bit bitmap with a palette of its six colours, rows top-down.
Bytes make_top_down_pal8(const Surface& s) {
    const int stride = (s.width() + 3) & ~3, colours = s.width() * s.height();
    Bytes b = {'B', 'M'};
    put(b, {{54 + 4 * colours + stride * s.height(), 4}, {0, 4}, {54 + 4 * colours, 4}});
    put(b, {{40, 4}, {s.width(), 4}, {-s.height(), 4}, {1, 2}, {8, 2}, {0, 8}, {0, 8}, {colours, 4}, {0, 4}});
    for (int i = 0; i < colours; ++i) put(b, {{to_pixel(s.get(i % s.width(), i / s.width())), 4}});
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < stride; ++x) b.push_back(static_cast<std::uint8_t>(x < s.width() ? y * s.width() + x : 0));
    return b;
}

// Plain and sealed 24-bit bitmaps are the builder's own output, decoded in its tests.
TEST(Picture, EveryOtherBitmapFormDecodesToTheSamePixelsAndTheSurfaceKeepsItsSettings) {
    const Surface sample = sample_picture();
    Bytes pal8 = make_top_down_pal8(sample);
    for (const Bytes& bmp : {make_bmp(sample, 32), pal8}) {
        Surface out(7, 7, rgb(1, 1, 1));
        out.back_color = rgb(4, 5, 6);
        std::string error;
        ASSERT_TRUE(decode_picture(bmp, out, error)) << error;
        EXPECT_TRUE(out == sample);
        EXPECT_EQ(out.back_color, rgb(4, 5, 6));
    }
    // An index past a short palette is the general decoder's to judge: it must not be read.
    pal8[54 + 4 * 6] = 200;
    Surface out;
    std::string error;
    (void)decode_picture(pal8, out, error);
}

TEST(Picture, FileFailuresNameTheFile) {
    const test::ScratchFolder scratch;
    const auto& dir = scratch.path();
    Surface out;
    std::string error;
    EXPECT_FALSE(load_picture(dir / "no_such_picture.bmp", out, error));
    EXPECT_NE(error.find("no_such_picture.bmp"), std::string::npos) << error;
    // A folder in a picture's or the pointer's place is a file that cannot be read.
    std::filesystem::create_directories(dir / "folder.bmp");
    EXPECT_FALSE(load_picture(dir / "folder.bmp", out, error));
    EXPECT_NE(error.find("folder.bmp"), std::string::npos) << error;
    Cursor cursor;
    EXPECT_FALSE(load_cursor(dir / "folder.bmp", cursor, error));
    EXPECT_FALSE(save_png(sample_picture(), dir / "missing" / "x.png", error));
    EXPECT_NE(error.find("x.png"), std::string::npos) << error;
}

// Pictures past the size limit are refused before their pixels exist.
TEST(Picture, DamagedOrOversizedBitmapsAreRefusedAndLeaveTheSurfaceAlone) {
    struct Case {
        Bytes bytes;
        bool accepted;
        std::string why = "size";  // what a refusal must mention
    };
    const Bytes good = make_bmp(sample_picture());
    Bytes huge = good;
    huge[20] = 1;  // width 65539
    Bytes tall_top_down = make_bmp(Surface(1, 4097));
    tall_top_down[22] = 0xFF;  // height -4097
    tall_top_down[23] = 0xEF;
    tall_top_down[24] = tall_top_down[25] = 0xFF;
    const Case cases[] = {
        {test::rle8_bitmap(4096, 4096), true},  // 64 MiB of pixels from 62 bytes: the most allowed
        {test::rle8_bitmap(4097, 4096), false},
        {test::rle8_bitmap(4096, -4097), false},
        {test::rle8_bitmap(8192, 8), false},
        {test::rle8_bitmap(65535, 65535), false},
        {make_bmp(Surface(4097, 1)), false},  // the plain reader's path
        {tall_top_down, false},
        {huge, false},
        {make_bmp(Surface(4096, 1)), true},
        {Bytes(good.begin(), good.begin() + 60), false, ""},  // cut short
        {Bytes{'B', 'M', 1, 2, 3}, false, ""},
    };
    for (const Case& c : cases) {
        Surface out(2, 2, rgb(7, 8, 9));
        const Surface before = out;
        std::string error;
        EXPECT_EQ(decode_picture(c.bytes, out, error), c.accepted) << error;
        if (!c.accepted) {
            EXPECT_TRUE(out == before) << error;
            EXPECT_NE(error.find(c.why), std::string::npos) << error;
        }
    }
}

TEST(Picture, CursorKeepsItsHotSpotAndTransparency) {
    Surface image(4, 4);
    Surface transparent(4, 4, kWhite);
    image.set(1, 2, rgb(10, 20, 30));
    transparent.set(1, 2, kBlack);
    image.set(3, 0, kWhite);
    transparent.set(3, 0, kBlack);
    Cursor cursor;
    std::string error;
    ASSERT_TRUE(decode_cursor(make_cur(image, transparent, 3, 1), cursor, error)) << error;
    EXPECT_EQ((std::pair{cursor.hot_x, cursor.hot_y}), (std::pair{3, 1}));
    EXPECT_TRUE(cursor.image == image);
    EXPECT_TRUE(cursor.mask == transparent);

    EXPECT_FALSE(decode_cursor(Bytes{0, 0, 1, 0, 1, 0}, cursor, error));  // an icon header
}

TEST(MappedFile, HoldsTheFileBytesAcrossMovesAndRefusesWhatCannotBeMapped) {
    const test::ScratchFolder scratch;
    const auto& dir = scratch.path();
    std::ofstream(dir / "font.bin", std::ios::binary) << std::string("\x00\x01\xFE\xFF", 4);
    std::ofstream(dir / "empty.bin").close();
    {
        // Released before the folder goes: Windows keeps a mapped file from being removed.
        MappedFile first(dir / "font.bin");
        ASSERT_TRUE(first.ok());
        MappedFile moved = std::move(first);
        EXPECT_FALSE(first.ok());
        const auto bytes = moved.bytes();
        EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), (Bytes{0x00, 0x01, 0xFE, 0xFF}));
    }

    for (const auto& file : {dir / "empty.bin", dir / "missing.bin", dir}) EXPECT_FALSE(MappedFile(file).ok()) << file;
    EXPECT_TRUE(MappedFile().bytes().empty());
}

}  // namespace
}  // namespace dalvo::platform
