// The pointer file "select.cur" on any bytes.

#include <span>
#include <string>

#include "platform/gfx/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dalvo::platform::Cursor cursor;
    std::string error;
    dalvo::platform::decode_cursor(std::span(data, size), cursor, error);
    return 0;
}
