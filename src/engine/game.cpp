#include "engine/game.h"

#include "daycycle/title.h"
#include "engine/dump.h"
#include "engine/interpreter.h"
#include "engine/startup.h"
#include "platform/os/heap.h"
#include "platform/pacing.h"

namespace dalvo {

Game::Game(platform::Platform& platform, GameOptions game_options)
    : p(platform), options(std::move(game_options)), ui(platform.host) {}

Game::~Game() {
    platform::Host& host = p.host;
    if (ui.Clicker != nullptr) ui.Clicker->set_enabled(false, p.clock.ticks());
    if (host.is_shown(ui.form)) host.hide_form(ui.form);
    host.set_automation({});
    host.set_input_filter({});
}

int run_game(platform::Platform& platform, const GameOptions& options) {
    if (!platform.instance.acquire(find_data_path(options))) return 0;
    Game game(platform, options);
    install_automation(game);
    Window_load(game);
    // The start is over: the heap goes back to its usual ways, and the music device
    // may get ready while the player looks at the title.
    platform::finish_startup_heap();
    platform.music.prepare();
    // From here the title waits for the player, whose choice starts the script.
    game.title.loaded = true;
    if (game.options.autostart) {
        Title_skip(game);
        Run_script(game);
    }
    // The window's message loop: served until the program ends.
    platform::wait_until(platform.host, [] { return false; }, 10);
    return 0;
}

}  // namespace dalvo
