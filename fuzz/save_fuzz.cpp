// The save-file reader on any bytes as the content of a slot file.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "saveload/save_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const dalvo::SlotData slot = dalvo::slot_from_bytes(bytes, 100);
    if (slot.state == dalvo::SlotState::Used) {
        // A slot that reads as used has a caption the dialog can show.
        (void)dalvo::slot_caption("12/25 AM", slot.saved_at);
    }
    return 0;
}
