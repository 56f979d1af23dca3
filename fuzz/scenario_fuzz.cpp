// The scenario loader on any bytes as "3.dat", with a small fixed choice table.

#include "engine/scenario_loader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dalvo::Game& game = dalvo::fuzz::shared_game();
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    try {
        dalvo::Load_scenario(game, script, "1001,yes,1001\r\n");
    } catch (const dalvo::platform::ProgramEnd&) {
        // Broken data ends the program after its message: that is the expected way out.
    }
    return 0;
}
