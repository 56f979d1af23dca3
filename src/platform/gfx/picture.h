#pragma once
// Pictures: Windows bitmaps (also sealed ones), the pointer file, PNG output.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "platform/gfx/surface.h"

namespace dalvo::platform {

// Decodes a BMP held in memory. A sealed picture (its first two bytes "JF" in place
// of "BM") is patched in memory first. On failure `out` is untouched and `error`
// says why.
bool decode_picture(std::span<const std::uint8_t> bytes, Surface& out, std::string& error);
bool load_picture(const std::filesystem::path& file, Surface& out, std::string& error);

// A mouse pointer read from a Windows .cur file.
struct Cursor {
    Surface image;   // black where transparent is not meant; see `mask`
    Surface mask;    // white where the pointer is transparent
    int hot_x = 0;
    int hot_y = 0;
};
bool load_cursor(const std::filesystem::path& file, Cursor& out, std::string& error);
bool decode_cursor(std::span<const std::uint8_t> bytes, Cursor& out, std::string& error);

bool save_png(const Surface& picture, const std::filesystem::path& file, std::string& error);

}  // namespace dalvo::platform
