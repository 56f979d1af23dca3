// The checker's own reading of "3.dat" and "39.dat": the input holds both, split at
// the first NUL byte, decoded as the files are.

#include <string>
#include <string_view>

#include "check/scenario.h"
#include "platform/codec/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string script = dalvo::platform::sjis_to_utf8(input.substr(0, split));
    const std::string choices =
        split == std::string_view::npos ? std::string() : dalvo::platform::sjis_to_utf8(input.substr(split + 1));
    dalvo::check::Report report;
    const dalvo::check::Scenario scenario = dalvo::check::read_scenario(script, choices, "3.dat", "39.dat", report);
    dalvo::check::FolderFacts folder;
    for (int n = 70; n <= 82; ++n) folder.pictures.insert(n);
    dalvo::check::check_scenario(scenario, folder, report);
    return 0;
}
