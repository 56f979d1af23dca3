// The shared test fixture: a folder of its own per test, left behind only on request.

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/fixture.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;

TEST(Fixture, FolderIsRemovedUnlessKept) {
    const fs::path gone = FixtureFolder().path();
    EXPECT_FALSE(fs::exists(gone));
    ::setenv("DALVO_KEEP_FIXTURES", "1", 1);
    const fs::path kept = FixtureFolder().path();
    ::unsetenv("DALVO_KEEP_FIXTURES");
    EXPECT_TRUE(fs::exists(kept / "3.dat"));
    fs::remove_all(kept);
}

}  // namespace
}  // namespace dalvo::test
