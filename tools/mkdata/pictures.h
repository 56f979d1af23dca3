#pragma once
// The bundled pictures, one family a file. Sizes are the ones the stage lays out.

#include "mkdata/canvas.h"
#include "mkdata/mkdata.h"

namespace dalvo::mkdata {

inline constexpr int kBackgroundWidth = 640;
inline constexpr int kBackgroundHeight = 320;
inline constexpr int kBackgroundCount = 15;  // 70.dat .. 84.dat
inline constexpr int kSpriteCount = 4;       // 51.dat .. 54.dat
inline constexpr int kFaceStripCount = 3;    // 61.dat .. 63.dat
inline constexpr int kEndingCount = 3;       // 91.dat .. 93.dat

// frames.cpp
Canvas draw_wall_tile();   // "wall.bmp", 64 x 64, tiles seamlessly
Canvas draw_frame_parts(); // "waku.bmp", 48 x 48: 8-pixel edges, black inside

// sprites.cpp: slot 0..3. Black is transparent.
Canvas draw_sprite(int slot);
// Three faces of character slot 0..2 stacked vertically, each exactly the part of the
// sprite under the face rectangle, so a face change only moves what it should.
Canvas draw_face_strip(int slot);

// backgrounds.cpp: background n = 0..14 (file 70 + n), 640 x 320.
Canvas draw_background(int n);

// ending.cpp: final picture k = 1..3 (file 90 + k), 640 x 320.
Canvas draw_ending_picture(int k);

// title.cpp: "94.dat", 640 x 480.
Canvas draw_title();

// pointer.cpp: "select.cur", a 32 x 32 Windows cursor file.
Bytes make_pointer();

}  // namespace dalvo::mkdata
