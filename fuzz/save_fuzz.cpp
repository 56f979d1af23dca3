// The save-file reader on any bytes as a slot file.

#include "fuzz_support.h"
#include "saveload/save_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = dalvo::fuzz::scratch_folder() / "40.dat";
    dalvo::fuzz::write_file(file, data, size);
    const dalvo::SlotData slot = dalvo::read_slot(file, 100);
    if (slot.state == dalvo::SlotState::Used) {
        // A slot that reads as used has a caption the dialog can show.
        (void)dalvo::slot_caption("12/25 AM", slot.saved_at);
    }
    return 0;
}
