#pragma once
// One running game: the platform it talks to, the engine state, the game window.
// Tests build as many as they like side by side.

#include <filesystem>
#include <functional>
#include <vector>

#include "daycycle/level_form.h"
#include "daycycle/title_state.h"
#include "dialogs/dialogs_state.h"
#include "engine/main_form.h"
#include "engine/message.h"
#include "engine/player_controls.h"
#include "engine/state.h"
#include "ending/ending_state.h"
#include "platform/codec/json.h"
#include "platform/os/data_folder.h"
#include "platform/platform.h"
#include "platform/pacing.h"
#include "saveload/saveload_state.h"
#include "sound/sound_state.h"
#include "stage/stage_state.h"

namespace dalvo {

struct GameOptions {
    // The data folder; empty: "data" beside the program if it exists, else the program's folder.
    std::filesystem::path data_dir;
    // The program's folder.
    std::filesystem::path program_dir;
    // Puts the title away and runs the script from record 0 right after the window
    // load, for runs that skip the title. Off: the title waits for the player.
    bool autostart = false;
};

struct Game {
    Game(platform::Platform& platform, GameOptions options);
    // Detaches the game window, its timer and the automation hooks from the host.
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    platform::Platform& p;
    GameOptions options;
    EngineState g;
    WindowState w;
    // The pacing of the animated effects' frames.
    platform::FramePacer frame{p.host};
    MainForm ui;
    std::filesystem::path g_AppPath;
    std::filesystem::path g_DataPath;
    // Every file of g_DataPath is reached through this, made when the folder is found.
    platform::DataFolder data;
    // Set while the window unloads, so that a close request inside it starts no second unload.
    bool unloading = false;

    // Subsystem state: each subsystem adds its own member below (stage, sound, day
    // cycle, ...), declared in a header of its own folder.
    StageState stage;
    SoundState sound;
    MessageState msg;
    DialogsState dialogs;
    EndingState ending;
    SaveLoadState saveload;  // the slot dialog
    LevelForm level;  // the level window of the day cycle
    TitleState title;  // the title screen and the name entry
    ControlsState controls;  // the player's controls beside the game's own

    // Extra keys of the state dump: each subsystem appends a writer for its own keys.
    std::vector<std::function<void(platform::JsonWriter&)>> dump_parts;
};

// Runs the program: single-instance test, window load, then the window's message loop.
// Returns 0 at once, silently, when another instance holds the data folder. Otherwise
// it does not return: every way out ends in Host::end_program, whose
// platform::ProgramEnd propagates to the caller (main() turns it into the exit status).
int run_game(platform::Platform& platform, const GameOptions& options);

}  // namespace dalvo
