#pragma once
// Facts read from sound files without playing them.

#include <cstdint>
#include <span>

namespace dalvo::platform {

// Length in milliseconds of the sample data of a RIFF WAVE image in PCM;
// -1 when the bytes are not one.
std::int64_t wave_duration_ms(std::span<const std::uint8_t> bytes);

// Length in milliseconds of a Standard MIDI File (its tracks and tempo changes);
// -1 when the bytes are not a Standard MIDI File.
std::int64_t midi_length_ms(std::span<const std::uint8_t> bytes);

}  // namespace dalvo::platform
