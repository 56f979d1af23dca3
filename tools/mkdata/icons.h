#pragma once
// The program's icon, drawn from the title's art: the hicolor sizes for the desktop, one
// multi-size ICO for Windows, and the pixels the game window shows as its own icon.

#include <filesystem>
#include <string>
#include <vector>

#include "mkdata/mkdata.h"

namespace dalvo::mkdata {

inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
inline constexpr int kWindowIconSize = 64;

// Straight (not premultiplied) RGBA, rows top-down.
struct Icon {
    int size = 0;
    Bytes rgba;
};

// `size` must divide 768, as every size of kIconSizes does.
Icon draw_icon(int size);
Bytes encode_png(const Icon& icon);
Bytes encode_ico(const std::vector<Icon>& icons);  // each entry a PNG
// C++ source that defines the window icon's pixels for the program to link.
std::string window_icon_source(const Icon& icon);

// DIR/hicolor/<N>x<N>/apps/dalvo.png for every size and DIR/dalvo.ico; with a
// `source` file, also the window icon's source there.
bool write_icons(const std::filesystem::path& dir, const std::filesystem::path& source, std::string& error);

}  // namespace dalvo::mkdata
