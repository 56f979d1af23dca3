// The input-script parser on any text.

#include <string>
#include <string_view>

#include "platform/automation/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dalvo::platform::Script script;
    std::string error;
    dalvo::platform::parse_script(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.txt",
                                  script, error);
    return 0;
}
