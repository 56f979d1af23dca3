// Picture loading on any bytes: plain and sealed bitmaps alike. Whatever the game's own
// bitmap reader accepts, the general image library must read to the same pixels.

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "platform/gfx/bmp_plain.h"
#include "platform/gfx/picture.h"

namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SurfaceFree>;

// The general library's pixels must equal the game's reader's, row for row.
void compare_with_library(std::span<const std::uint8_t> bytes, const dalvo::platform::Surface& ours) {
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SdlSurface decoded(IMG_LoadTyped_RW(rw, 1, "BMP"));
    if (!decoded) std::abort();
    SdlSurface rgb(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGB888, 0));
    if (!rgb || rgb->w != ours.width() || rgb->h != ours.height()) std::abort();
    for (int y = 0; y < rgb->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(rgb->pixels) +
                                                                 static_cast<std::size_t>(y) * rgb->pitch);
        for (int x = 0; x < rgb->w; ++x)
            if ((row[x] & 0x00FFFFFF) != ours.row(y)[x]) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span bytes(data, size);
    dalvo::platform::Surface picture;
    std::string error;
    if (dalvo::platform::decode_picture(bytes, picture, error)) {
        // Touch every pixel: a wrong size would show here.
        std::uint32_t sum = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const auto* row = picture.row(y);
            for (int x = 0; x < picture.width(); ++x) sum += static_cast<std::uint32_t>(row[x]);
        }
        volatile std::uint32_t sink = sum;
        (void)sink;
    }
    dalvo::platform::Surface plain;
    if (dalvo::platform::decode_plain_bmp(bytes, plain)) compare_with_library(bytes, plain);
    return 0;
}
