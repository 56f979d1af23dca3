// The choice table "39.dat" on any bytes, over a small fixed script.

#include "engine/scenario_loader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dalvo::Game& game = dalvo::fuzz::shared_game();
    static const bool ready = [] {
        dalvo::fuzz::write_file(dalvo::fuzz::scratch_folder() / "3.dat",
                                "1001,,,,,,,0,a,,,,\r\n1002,s,,,,,,,2,,,,\r\n"
                                "1003,q,,,,,,,,,,,\r\n1003,,,,,,,,,,,,\r\n");
        return true;
    }();
    (void)ready;
    dalvo::fuzz::write_file(dalvo::fuzz::scratch_folder() / "39.dat", data, size);
    try {
        dalvo::Load_scenario(game);
        // The lookup the choice command makes, on every group the table names.
        for (std::int32_t k = 0; k <= game.g.g_SctMax; ++k) dalvo::Find_sct(game, game.g.g_SctTable[k].Sct);
    } catch (const dalvo::platform::ProgramEnd&) {
    }
    return 0;
}
