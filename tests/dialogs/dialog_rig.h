#pragma once
// A headless game after its window load (the title showing) on a fixture data folder,
// for driving the dialogs through the host as a player would.

#include <filesystem>

#include "engine/startup.h"
#include "support/game_rig.h"

namespace dalvo::test {

class DialogRig : public GameRig {
public:
    explicit DialogRig(bool mixer_fails = false, bool window = false)
        : GameRig({.mixer_fails = mixer_fails, .window = window}) {
        // The about box takes its pointer from "data" beside the program.
        std::filesystem::create_directories(folder().path() / "data");
        folder().write_bytes("data/select.cur", folder().read_bytes("select.cur"));
        Window_load(game());
    }
};

}  // namespace dalvo::test
