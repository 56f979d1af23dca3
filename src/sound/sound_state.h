#pragma once
// The sound subsystem's own state: the music loop, the last media command, the
// master level's mixer handle and the levels it remembers. (The switches
// g_BgmOn, g_SeOn and g_MixerOk live in the engine state.)

#include <cstdint>
#include <string>

#include "platform/host.h"

namespace dalvo {

// The master volume control as the mixer describes it; only its identifier is used.
struct MixerControl {
    std::uint32_t cbStruct = 0;
    std::uint32_t dwControlID = 0;
};

struct SoundState {
    SoundState() = default;
    SoundState(const SoundState&) = delete;
    SoundState& operator=(const SoundState&) = delete;
    // The host outlives the game: its timer must not call into a game that is gone.
    ~SoundState() {
        if (BGMLoop != nullptr) BGMLoop->set_enabled(false, 0);
    }

    std::int16_t g_BgmNo = 0;   // the piece the loop timer keeps alive; 0 none
    std::int16_t g_BgmReq = 0;  // the piece last started for a music number
    std::int32_t g_MciErr = 0;
    std::string g_MciMode;

    std::uint32_t g_hMixer = 0;  // keeps its last value after the mixer closes
    MixerControl g_VolCtrl;
    std::int32_t g_VolFirst = 0;
    std::int32_t g_VolSaved = 0;

    // Restarts a piece that has played to its end; created stopped by Sound_init.
    platform::Timer* BGMLoop = nullptr;
};

}  // namespace dalvo
