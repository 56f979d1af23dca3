// The scenario loader on any bytes as "3.dat", with a small fixed choice table.

#include "engine/scenario_loader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dalvo::Game& game = dalvo::fuzz::shared_game();
    static const bool ready = [] {
        dalvo::fuzz::write_file(dalvo::fuzz::scratch_folder() / "39.dat", "1001,yes,1001\r\n");
        return true;
    }();
    (void)ready;
    dalvo::fuzz::write_file(dalvo::fuzz::scratch_folder() / "3.dat", data, size);
    try {
        dalvo::Load_scenario(game);
    } catch (const dalvo::platform::ProgramEnd&) {
        // Broken data ends the program after its message: that is the expected way out.
    }
    return 0;
}
