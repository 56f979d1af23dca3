#pragma once
// The program's own sound effects: complete RIFF WAVE images built into the program.

#include <cstdint>
#include <span>

namespace dalvo {

// Effect n (0 click, 1 chime, 2 blip); empty for any other number.
std::span<const std::uint8_t> effect_wave(int n);

}  // namespace dalvo
