#pragma once
// Hand-made files for the tests of their readers: MIDI sequences, RIFF music, bitmaps.

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace dalvo::test {

using Bytes = std::vector<std::uint8_t>;

Bytes vlq(std::uint32_t v);
// The parts one after the other.
Bytes cat(std::initializer_list<Bytes> parts);
// A whole file: header of `format` and `division`, then one "MTrk" chunk per track body.
Bytes smf(std::uint16_t format, std::uint16_t division, const std::vector<Bytes>& tracks);
// A one-track file that holds middle C for `ticks` at 480 ticks a beat and 120 beats a
// minute (ticks / 480 * 500 ms), then ends.
Bytes one_note(std::uint32_t ticks);
// The ".rmi" form: `sequence` as the "data" chunk of a RIFF "RMID" file, after an "INFO"
// chunk of odd length; without its "data" chunk when `with_data` is false.
Bytes rmid(const Bytes& sequence, bool with_data = true);

// Appends little-endian fields of `size` bytes each: put(b, {{value, size}, ...}).
void put(Bytes& b, std::initializer_list<std::pair<std::int64_t, int>> fields);
// A run-length bitmap of any size in a few bytes: one green run, then the end of the picture.
Bytes rle8_bitmap(std::int64_t width, std::int64_t height);

}  // namespace dalvo::test
