#pragma once
// Screenshot checks: a picture is pinned by its hash once a person has looked at it;
// on a mismatch the pictures are written out as PNG files to be looked at again.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/surface.h"

namespace dalvo::test {

inline constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ull;

// FNV-1a 64 over the width, the height and the pixels (4 bytes each, little end first,
// pixels as 0x00RRGGBB). `basis` stays open for hashes pinned with another start value.
std::uint64_t picture_hash(const platform::Surface& s, std::uint64_t basis = kFnvOffsetBasis);
// FNV-1a 64 over the colours (0x00BBGGRR) only, without the size: older pins use it.
std::uint64_t colour_hash(const platform::Surface& s);

using PictureHash = std::uint64_t (*)(const platform::Surface&);

class PictureCheck {
public:
    // `folder`: where failures are written, under the build's test_output folder; empty:
    // the name of the running test suite.
    explicit PictureCheck(std::string folder = {}) : folder(std::move(folder)) {}

    // A folder of reference pictures: NAME.png is copied beside the actual one.
    PictureCheck& with_references(std::filesystem::path dir) { references = std::move(dir); return *this; }
    // `actual` must also equal `picture` pixel for pixel; written as NAME.expected.png.
    PictureCheck& with_expected(const platform::Surface& picture) { expected = &picture; return *this; }
    PictureCheck& with_hash(PictureHash f) { hash = f; return *this; }

    std::string folder;
    std::filesystem::path references;
    const platform::Surface* expected = nullptr;
    PictureHash hash = [](const platform::Surface& s) { return picture_hash(s); };
};

// Expects `actual` to hash to `expected_hash`. On a mismatch writes NAME.actual.png
// (and NAME.expected.png when a reference is known) and fails naming the files.
void expect_picture(const platform::Surface& actual, std::uint64_t expected_hash, const std::string& name,
                    const PictureCheck& check = PictureCheck());

// Where the pictures of failed checks go for `folder` (created).
std::filesystem::path picture_output(const std::string& folder);

}  // namespace dalvo::test
