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

// The Standard MIDI File a music file holds: a RIFF "RMID" file (the ".rmi" form) carries
// it in its "data" chunk, any other file is taken as it is. A RIFF file without a "data"
// chunk holds none: the answer is empty.
std::span<const std::uint8_t> midi_sequence(std::span<const std::uint8_t> bytes);

}  // namespace dalvo::platform
