// Whole headless playthroughs in one process: their real time, and whether the
// resident set grows from one to the next (a leak shows up as steady growth).
// Needs DALVO_BENCH_DATA (a playable data folder, which the game writes to) and
// DALVO_BENCH_SCRIPT (an input script that plays to an ending); bench/perf/run.sh sets both.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/game.h"
#include "platform/automation/script.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

double resident_mib() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// One run of the program as main() makes it, headless, with the script as the player.
int play_once(const dalvo::platform::Script& script, const fs::path& data, const fs::path& out) {
    auto set = dalvo::platform::make_headless_platform({});
    dalvo::platform::Platform& p = set->platform();
    dalvo::platform::ScriptOptions options;
    options.out_dir = out;
    p.host.add_input_source(std::make_unique<dalvo::platform::ScriptRunner>(script, options));
    dalvo::GameOptions game;
    game.data_dir = data;
    game.program_dir = data;
    try {
        return dalvo::run_game(p, game);
    } catch (const dalvo::platform::ProgramEnd& end) {
        return end.code;
    }
}

void BM_HeadlessPlaythrough(benchmark::State& state) {
    const char* data = std::getenv("DALVO_BENCH_DATA");
    const char* script_file = std::getenv("DALVO_BENCH_SCRIPT");
    if (data == nullptr || script_file == nullptr) {
        state.SkipWithError("set DALVO_BENCH_DATA and DALVO_BENCH_SCRIPT");
        return;
    }
    dalvo::platform::Script script;
    std::string error;
    if (!dalvo::platform::load_script(script_file, script, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const fs::path out = fs::temp_directory_path() / ("dalvo-bench-" + std::to_string(getpid()));
    fs::create_directories(out);
    // The first run warms the caches (fonts, pictures): growth counts from after it.
    double first = 0.0;
    std::int64_t runs = 0;
    for (auto _ : state) {
        const int code = play_once(script, data, out);
        if (code != 0) {
            state.SkipWithError(("exit status " + std::to_string(code)).c_str());
            break;
        }
        if (++runs == 1) first = resident_mib();
    }
    const double last = resident_mib();
    state.counters["rss_after_first_MiB"] = first;
    state.counters["rss_after_last_MiB"] = last;
    state.counters["growth_KiB_per_run"] = runs > 1 ? (last - first) * 1024.0 / static_cast<double>(runs - 1) : 0.0;
    std::error_code ec;
    fs::remove_all(out, ec);
}
BENCHMARK(BM_HeadlessPlaythrough)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace
