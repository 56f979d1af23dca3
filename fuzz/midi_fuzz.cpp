// The length reader of Standard MIDI Files on any bytes.

#include <span>

#include "platform/codec/audio_formats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)dalvo::platform::midi_length_ms(std::span(data, size));
    return 0;
}
