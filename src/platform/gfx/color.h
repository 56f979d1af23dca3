#pragma once
// Colours as the game gives them (0x00BBGGRR) and pixels as surfaces store them.

#include <cstdint>

namespace dalvo::platform {

// A colour at the game's interface: red in the low byte, then green, then blue
// (0x00BBGGRR). Its own type, so that it never passes for a stored Pixel.
enum class Color : std::uint32_t {};

// A pixel in a surface: the bytes blue, green, red, reserved in memory order,
// i.e. 0x00RRGGBB as a little-endian 32-bit value. This is also the byte order
// of one entry of a 32-bit bottom-up pixel array, so whole rows copy as they are.
using Pixel = std::uint32_t;

constexpr std::uint32_t bgr(Color c) { return static_cast<std::uint32_t>(c); }
constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int red_of(Color c) { return static_cast<int>(bgr(c) & 0xFF); }
constexpr int green_of(Color c) { return static_cast<int>((bgr(c) >> 8) & 0xFF); }
constexpr int blue_of(Color c) { return static_cast<int>((bgr(c) >> 16) & 0xFF); }

constexpr Pixel to_pixel(Color c) {
    const std::uint32_t v = bgr(c);
    return static_cast<Pixel>(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
}
constexpr Color to_color(Pixel p) {
    return static_cast<Color>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

// The complementary colour when `b` is white: what an inverting transfer gives.
constexpr Color operator^(Color a, Color b) { return static_cast<Color>(bgr(a) ^ bgr(b)); }

inline constexpr Color kBlack = Color{0x000000};
inline constexpr Color kWhite = Color{0xFFFFFF};

}  // namespace dalvo::platform
