// Picture loading on any bytes: plain and sealed bitmaps alike.

#include <span>
#include <string>

#include "platform/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dalvo::platform::Surface picture;
    std::string error;
    if (dalvo::platform::decode_picture(std::span(data, size), picture, error)) {
        // Touch every pixel: a wrong size would show here.
        std::uint32_t sum = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const auto* row = picture.row(y);
            for (int x = 0; x < picture.width(); ++x) sum += static_cast<std::uint32_t>(row[x]);
        }
        volatile std::uint32_t sink = sum;
        (void)sink;
    }
    return 0;
}
