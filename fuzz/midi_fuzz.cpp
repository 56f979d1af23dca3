// The length reader of Standard MIDI Files on any bytes, also as the RIFF form carries them.

#include <span>

#include "platform/codec/audio_formats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)dalvo::platform::midi_length_ms(dalvo::platform::midi_sequence(std::span(data, size)));
    return 0;
}
