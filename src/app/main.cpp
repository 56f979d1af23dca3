// The program: the command line, the platform, then the game.

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/command_line.h"
#include "app/recording.h"
#include "app/window_icon.h"
#include "engine/game.h"
#include "engine/startup.h"
#include "platform/automation/recorder.h"
#include "platform/automation/script.h"
#include "platform/os/heap.h"
#include "platform/os/process.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;
using namespace dalvo;

int usage_error(const std::string& message) {
    std::cerr << "dalvo: " << message << "\nTry 'dalvo --help'." << std::endl;
    return 2;
}

int run(int argc, char** argv) {
    app::CommandLine cl;
    std::string error;
    const std::vector<std::string> args = platform::command_line_args(argc, argv);
    if (!app::parse_command_line(args, cl, error)) {
        return usage_error(error);
    }
    if (cl.help) {
        std::cout << app::usage_text();
        return 0;
    }
    if (cl.version) {
        std::cout << app::version_text();
        return 0;
    }

    // A bad script is refused before the game starts.
    platform::Script script;
    if (!cl.input.empty() && !platform::load_script(cl.input, script, error)) {
        std::cerr << "dalvo: " << error << std::endl;
        return 2;
    }
    std::error_code ec;
    fs::create_directories(cl.out_dir, ec);
    if (ec) return usage_error("--out " + cl.out_dir.string() + ": " + ec.message());
    if (!cl.trace_file.empty() && !std::ofstream(cl.trace_file, std::ios::app)) {
        return usage_error("--trace " + cl.trace_file.string() + ": cannot write");
    }

    // A player asked to send a recording can start the game that way without a command line.
    const char* record_env = std::getenv("DALVO_RECORD");
    const bool record_from_env = cl.record_file.empty() && record_env != nullptr && *record_env != '\0';
    const fs::path record_file = record_from_env ? fs::path(record_env) : cl.record_file;

    GameOptions game;
    if (!cl.data_dir.empty()) game.data_dir = fs::absolute(cl.data_dir, ec);
    game.program_dir = platform::program_dir(argv[0]);

    platform::PlatformOptions options;
    options.headless = cl.headless;
    options.scale = cl.scale;
    options.master_level = cl.master_level;
    options.trace_file = cl.trace_file;
    options.icon = app::window_icon();
    const char* soundfont_env = std::getenv("DALVO_SOUNDFONT");
    options.soundfont = !cl.soundfont.empty()                                ? cl.soundfont
                        : soundfont_env != nullptr && *soundfont_env != '\0' ? fs::path(soundfont_env)
                                                                             : fs::path();
    std::unique_ptr<platform::PlatformSet> set;
    if (cl.headless) {
        set = platform::make_headless_platform(options);
    } else {
        set = platform::make_sdl_platform(options, error);
        if (!set) {
            std::cerr << "dalvo: " << error << std::endl;
            return 1;
        }
    }
    platform::Platform& p = set->platform();
    platform::Recorder recorder(p.host);
    if (!record_file.empty() &&
        !recorder.start(record_file, app::recording_header(args, find_data_path(game), record_from_env), error)) {
        return usage_error((record_from_env ? "DALVO_RECORD: " : "--record: ") + error);
    }
    // Headless, the script is the only player: its end (an empty one at once) closes the game.
    if (cl.headless || !cl.input.empty()) {
        platform::ScriptOptions script_options;
        script_options.out_dir = cl.out_dir;
        script_options.close_at_end = cl.headless;
        p.host.add_input_source(std::make_unique<platform::ScriptRunner>(std::move(script), script_options));
    }

    int code = 0;
    try {
        code = run_game(p, game);
    } catch (const platform::ProgramEnd& end) {
        code = end.code;
    }
    recorder.finish();
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    dalvo::platform::prepare_heap();
    return run(argc, argv);
}
