#pragma once
// Screenshot checks: a picture is pinned by its hash once a person has looked at it;
// on a mismatch the pictures are written out as PNG files to be looked at again.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "platform/ui/form.h"
#include "platform/gfx/surface.h"

namespace dalvo::test {

// `form` composed now, whether presented or not.
platform::Surface composed(const platform::Form& form);

// Sets every pixel of `s` to `pixel(x, y)`.
void paint(platform::Surface& s, const std::function<platform::Color(int, int)>& pixel);

// FNV-1a 64 over the width, the height and the pixels (4 bytes each, little end first,
// pixels as 0x00RRGGBB): the one hash every pinned picture is pinned by.
std::uint64_t picture_hash(const platform::Surface& s);

class PictureCheck {
public:
    // `folder`: where failures are written, under the build's test_output folder; empty:
    // the name of the running test suite.
    explicit PictureCheck(std::string folder = {}) : folder(std::move(folder)) {}

    // `actual` must also equal `picture` pixel for pixel; written as NAME.expected.png.
    PictureCheck& with_expected(const platform::Surface& picture) { expected = &picture; return *this; }

    std::string folder;
    const platform::Surface* expected = nullptr;
};

// Expects `actual` to hash to `expected_hash`. Every pinned picture has a committed
// reference, NAME.png in tests/pictures, that a person looked at: on a mismatch
// NAME.actual.png is written beside a copy of it as NAME.expected.png, and the failure
// names both. With DALVO_PIN_PICTURES set, a matching picture whose reference is missing
// is written as its reference.
void expect_picture(const platform::Surface& actual, std::uint64_t expected_hash, const std::string& name,
                    const PictureCheck& check = PictureCheck());

// Expects `actual` to equal `expected` pixel for pixel (named as above on a mismatch).
inline void expect_same_picture(const platform::Surface& expected, const platform::Surface& actual,
                                const std::string& name) {
    expect_picture(actual, picture_hash(expected), name, PictureCheck().with_expected(expected));
}

// Where the pictures of failed checks go for `folder` (created).
std::filesystem::path picture_output(const std::string& folder);

}  // namespace dalvo::test
