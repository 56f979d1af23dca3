// The names and music list "30.dat" on any bytes, as the start-up check reads it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/startup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string fault;
    const std::optional<dalvo::NamesList> list = dalvo::read_names_list(bytes, "30.dat", fault);
    // Either the list or a message for the player.
    if (list.has_value() != fault.empty()) __builtin_trap();
    return 0;
}
