// The names and music list "30.dat" on any bytes, through the start-up file check.

#include "engine/startup.h"
#include "fuzz_support.h"

namespace {

// Every file the check wants, one byte each: only "30.dat" varies.
void make_folder() {
    const auto& dir = dalvo::fuzz::scratch_folder();
    for (const char* name : {"waku.bmp", "wall.bmp", "39.dat", "31.dat"}) dalvo::fuzz::write_file(dir / name, "x");
    for (int n : {51, 52, 53, 54, 61, 62, 63, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 91, 92, 93}) {
        dalvo::fuzz::write_file(dir / (std::to_string(n) + ".dat"), "JF");
    }
    for (int n = 1; n <= 9; ++n) dalvo::fuzz::write_file(dir / ("m" + std::to_string(n)), "x");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dalvo::Game& game = dalvo::fuzz::shared_game();
    static const bool ready = (make_folder(), true);
    (void)ready;
    dalvo::fuzz::write_file(dalvo::fuzz::scratch_folder() / "30.dat", data, size);
    try {
        dalvo::Check_files(game);
    } catch (const dalvo::platform::ProgramEnd&) {
    }
    return 0;
}
