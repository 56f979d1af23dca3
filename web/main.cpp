// The browser build's program: the page's address in place of the command line,
// the bundled data folder (the page has put it and the stored saves in place), then the game.

#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "engine/game.h"
#include "platform/automation/script.h"
#include "platform/web/web_page.h"
#include "platform/web/web_platform.h"
#include "saveload/save_file.h"

namespace {

namespace fs = std::filesystem;
using namespace dalvo;

constexpr const char* kDataDir = "/data";
constexpr const char* kMusicDir = "/music";
constexpr const char* kOutDir = "/out";

// The script's dumps are written as files: each goes to the page as it appears.
void publish_dumps() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kOutDir, ec)) {
        const fs::path file = entry.path();
        if (file.extension() != ".json") continue;
        std::ifstream in(file, std::ios::binary);
        const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        platform::page::show_dump(file.stem().string(), json);
        fs::remove(file, ec);
    }
}

void fail(const std::string& message) {
    std::fprintf(stderr, "dalvo: %s\n", message.c_str());
    platform::page::trace_line(std::string("{\"ev\":\"error\",\"message\":\"") + platform::json_escape(message) + "\"}");
    platform::page::set_title("dalvo: error");
}

int run() {
    platform::page::mark("mainMs");

    platform::Script script;
    const std::string input = platform::page::query("input");
    if (!input.empty()) {
        const std::optional<std::string> text = platform::page::fetch_text(input);
        std::string error;
        if (!text) {
            fail(input + ": cannot fetch the input script");
            return 2;
        }
        if (!platform::parse_script(*text, input, script, error)) {
            fail(error);
            return 2;
        }
    }

    std::string error;
    std::unique_ptr<platform::WebPlatformSet> set = platform::make_web_platform(kMusicDir, error);
    if (!set) {
        fail(error);
        return 1;
    }
    platform::Platform& p = set->platform();
    p.trace.add_observer([](const std::string& line) { platform::page::trace_line(line); });

    platform::ScriptRunner* runner = nullptr;
    bool told_done = false;
    if (!input.empty()) {
        std::error_code ec;
        fs::create_directories(kOutDir, ec);
        platform::ScriptOptions options;
        options.out_dir = kOutDir;
        options.close_at_end = false;  // the player goes on from where the script stopped
        auto owned = std::make_unique<platform::ScriptRunner>(std::move(script), options);
        runner = owned.get();
        p.host.add_input_source(std::move(owned));
    }
    bool title_seen = false;
    set->backend().set_on_pump([&] {
        if (!title_seen && p.host.automation().waiting && p.host.automation().waiting() == "title") {
            title_seen = true;
            platform::page::mark("titleMs");
        }
        if (runner == nullptr) return;
        publish_dumps();
        if (!told_done && runner->finished()) {
            told_done = true;
            platform::page::set_title("dalvo: done");
        }
    });

    GameOptions game;
    game.data_dir = kDataDir;
    game.program_dir = "/";
    int code = 0;
    try {
        code = run_game(p, game);
    } catch (const platform::ProgramEnd& end) {
        code = end.code;
    }
    platform::page::ended();
    // The game has ended: nothing more of the script can run.
    if (runner != nullptr) {
        publish_dumps();
        platform::page::set_title("dalvo: done");
    }
    return code;
}

}  // namespace

// Asked by the page before it takes in a saved game from outside the browser: whether
// the file it put at /import.dat reads as a slot the slot dialog would offer to load.
// The dialog checks the record's place in the scenario again when the player loads it.
extern "C" EMSCRIPTEN_KEEPALIVE int dalvo_import_usable() {
    return read_slot("/import.dat", INT32_MAX).state == SlotState::Used ? 1 : 0;
}

int main() { return run(); }
