#pragma once
// Hand-made Standard MIDI Files for the sound tests.

#include <cstdint>
#include <initializer_list>
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

}  // namespace dalvo::test
