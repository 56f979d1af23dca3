#include "support/picture_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/codec/fnv1a.h"
#include "platform/gfx/picture.h"

namespace dalvo::test {

namespace fs = std::filesystem;

namespace {

std::string hex(std::uint64_t v) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%016llx", static_cast<unsigned long long>(v));
    return text;
}

}  // namespace

std::uint64_t picture_hash(const platform::Surface& s) {
    std::string bytes;
    const auto put = [&bytes](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(static_cast<std::uint32_t>(s.width()));
    put(static_cast<std::uint32_t>(s.height()));
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) put(s.row(y)[x] & 0x00FFFFFF);
    }
    return platform::fnv1a(bytes);
}

void paint(platform::Surface& s, const std::function<platform::Color(int, int)>& pixel) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) s.set(x, y, pixel(x, y));
}

platform::Surface composed(const platform::Form& form) {
    platform::Surface out(form.client_width, form.client_height);
    platform::compose(form, out);
    return out;
}

fs::path picture_output(const std::string& folder) {
    const fs::path dir = fs::path(DALVO_BINARY_DIR) / "test_output" / folder;
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir;
}

void expect_picture(const platform::Surface& actual, std::uint64_t expected_hash, const std::string& name,
                    const PictureCheck& check) {
    const std::uint64_t got = picture_hash(actual);
    const bool same = check.expected == nullptr || *check.expected == actual;
    const fs::path references = fs::path(DALVO_SOURCE_DIR) / "tests/pictures";
    const fs::path reference = references / (name + ".png");
    std::error_code ec;
    if (got == expected_hash && same) {
        if (std::getenv("DALVO_PIN_PICTURES") != nullptr && !fs::exists(reference, ec)) {
            std::string error;
            fs::create_directories(references, ec);
            EXPECT_TRUE(platform::save_png(actual, reference, error)) << error;
        }
        return;
    }

    std::string folder = check.folder;
    if (folder.empty()) {
        const auto* suite = ::testing::UnitTest::GetInstance()->current_test_suite();
        folder = suite != nullptr ? suite->name() : "pictures";
    }
    const fs::path dir = picture_output(folder);
    std::string error;
    const fs::path actual_file = dir / (name + ".actual.png");
    const fs::path expected_file = dir / (name + ".expected.png");
    EXPECT_TRUE(platform::save_png(actual, actual_file, error)) << error;
    std::string files = actual_file.string();
    if (check.expected != nullptr) {
        EXPECT_TRUE(platform::save_png(*check.expected, expected_file, error)) << error;
        files += ", " + expected_file.string();
    } else if (fs::exists(reference, ec)) {
        fs::copy_file(reference, expected_file, fs::copy_options::overwrite_existing, ec);
        if (!ec) files += ", " + expected_file.string();
    }
    if (!same) ADD_FAILURE() << name << ": the picture differs from the expected one";
    ADD_FAILURE() << name << ": picture hash " << hex(got) << ", expected " << hex(expected_hash)
                  << "; see " << files;
}

}  // namespace dalvo::test
