// Whole-file reads: every way a data file can fail to be one is an answer, never an exception.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/os/file_read.h"
#include "support/fixture.h"

namespace dalvo::platform {
namespace {

namespace fs = std::filesystem;

TEST(FileRead, GivesTheBytesOrSaysWhyNot) {
    const test::ScratchFolder scratch;
    const fs::path& dir = scratch.path();
    fs::create_directories(dir / "folder");
    std::ofstream(dir / "ten", std::ios::binary) << "0123456789";
    std::ofstream(dir / "empty", std::ios::binary).close();
    struct Case {
        fs::path file;
        std::size_t limit;
        ReadFault fault;
        std::string bytes;
    };
    const Case cases[] = {
        {dir / "ten", 100, ReadFault::None, "0123456789"},
        {dir / "ten", 10, ReadFault::None, "0123456789"},
        {dir / "ten", 9, ReadFault::TooLarge, ""},
        {dir / "empty", 100, ReadFault::None, ""},
        {dir / "folder", 100, ReadFault::NotAFile, ""},
        {dir / "missing", 100, ReadFault::Missing, ""},
        {dir / "ten" / "below", 100, ReadFault::Missing, ""},
#ifdef _WIN32
        {"NUL", 100, ReadFault::NotAFile, ""},
#else
        {"/dev/null", 100, ReadFault::NotAFile, ""},
#endif
    };
    for (const Case& c : cases) {
        std::string out = "left over";
        EXPECT_EQ(read_whole_file(c.file, out, c.limit), c.fault) << c.file << " " << describe(c.fault);
        EXPECT_EQ(out, c.bytes) << c.file;
    }
}

}  // namespace
}  // namespace dalvo::platform
