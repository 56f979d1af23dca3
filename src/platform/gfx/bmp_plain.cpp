// Start-up loads a dozen full-screen pictures: one pass from the file bytes to the
// surface instead of a decode, a format conversion and a copy.

#include "platform/gfx/bmp_plain.h"

#include <array>
#include <cstddef>

namespace dalvo::platform {
namespace {

constexpr std::uint32_t kFileHeader = 14;
constexpr std::uint32_t kRgbCompression = 0;

Pixel bgr(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (static_cast<Pixel>(p[2]) << 16); }

}  // namespace

bool decode_plain_bmp(std::span<const std::uint8_t> b, Surface& out) {
    return b.size() >= 2 && b[0] == 'B' && b[1] == 'M' && decode_plain_dib(b, out);
}

bool decode_plain_dib(std::span<const std::uint8_t> b, Surface& out) {
    if (b.size() < kFileHeader + 40) return false;
    const std::uint8_t* info = b.data() + kFileHeader;
    const std::uint32_t header = le32(info);
    if (header < 40 || header > b.size() - kFileHeader) return false;
    const auto width = static_cast<std::int32_t>(le32(info + 4));
    const auto signed_height = static_cast<std::int32_t>(le32(info + 8));
    const std::uint32_t bits = le16(info + 14);
    if (le16(info + 12) != 1 || le32(info + 16) != kRgbCompression) return false;
    if (bits != 8 && bits != 24 && bits != 32) return false;
    const std::int64_t height = signed_height < 0 ? -std::int64_t{signed_height} : signed_height;
    if (!picture_size_allowed(width, height)) return false;

    std::array<Pixel, 256> palette{};
    std::uint32_t colours = 0;
    if (bits == 8) {
        colours = le32(info + 32);
        if (colours == 0) colours = 256;
        if (colours > 256) return false;
        const std::size_t at = kFileHeader + header;
        if (at + std::size_t{colours} * 4 > b.size()) return false;
        for (std::uint32_t i = 0; i < colours; ++i) palette[i] = bgr(&b[at + i * 4]);
    }

    const std::size_t offset = le32(&b[10]);
    const std::size_t stride = ((std::size_t(width) * bits + 31) / 32) * 4;
    if (offset > b.size() || (b.size() - offset) / stride < std::size_t(height)) return false;
    if (bits == 8) {
        // An index past the palette is for the general decoder to judge.
        for (std::int64_t y = 0; y < height; ++y) {
            const std::uint8_t* row = &b[offset + std::size_t(y) * stride];
            for (std::int32_t x = 0; x < width; ++x)
                if (row[x] >= colours) return false;
        }
    }

    out.reshape_for_overwrite(width, static_cast<int>(height));
    const std::size_t step = bits / 8;
    for (std::int64_t y = 0; y < height; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        const std::int64_t file_row = signed_height < 0 ? y : height - 1 - y;
        const std::uint8_t* src = &b[offset + std::size_t(file_row) * stride];
        Pixel* dst = out.row(static_cast<int>(y));
        if (bits == 8) {
            for (std::int32_t x = 0; x < width; ++x) dst[x] = palette[src[x]];
        } else {
            for (std::int32_t x = 0; x < width; ++x, src += step) dst[x] = bgr(src);
        }
    }
    return true;
}

}  // namespace dalvo::platform
