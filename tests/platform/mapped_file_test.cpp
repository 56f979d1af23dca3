// Files read through a mapping: the bytes as stored, nothing for what cannot be mapped.

#include <gtest/gtest.h>

#include <utility>

#include "platform/mapped_file.h"
#include "support/fixture.h"

namespace dalvo::test {
namespace {

using platform::MappedFile;

TEST(MappedFile, HoldsTheFileBytesAcrossMovesAndRefusesWhatCannotBeMapped) {
    FixtureFolder folder;
    folder.write_bytes("font.bin", std::vector<std::uint8_t>{0x00, 0x01, 0xFE, 0xFF});
    folder.write_bytes("empty.bin", std::vector<std::uint8_t>{});

    MappedFile first(folder.file("font.bin"));
    ASSERT_TRUE(first.ok());
    MappedFile moved = std::move(first);
    EXPECT_FALSE(first.ok());
    const auto bytes = moved.bytes();
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
              (std::vector<std::uint8_t>{0x00, 0x01, 0xFE, 0xFF}));

    EXPECT_FALSE(MappedFile(folder.file("empty.bin")).ok());
    EXPECT_FALSE(MappedFile(folder.file("missing.bin")).ok());
    EXPECT_FALSE(MappedFile(folder.path()).ok());  // a folder
    EXPECT_TRUE(MappedFile().bytes().empty());
}

}  // namespace
}  // namespace dalvo::test
