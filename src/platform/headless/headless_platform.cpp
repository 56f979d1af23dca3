#include <iostream>

#include "platform/headless/headless_backend.h"
#include "platform/headless/null_audio.h"
#include "platform/os/file_save_store.h"
#include "platform/os/lock_file.h"
#include "platform/platform.h"

namespace dalvo::platform {

namespace {

class HeadlessPlatformSet final : public PlatformSet {
public:
    explicit HeadlessPlatformSet(const PlatformOptions& options)
        : trace_(clock_),
          host_(clock_, trace_, backend_),
          music_(make_headless_music_device(clock_, trace_)),
          wave_(make_headless_wave_player(clock_, trace_)),
          master_(make_headless_master_level(trace_, options.master_level)),
          platform_{clock_, host_, trace_, *music_, *wave_, *master_, saves_, instance_} {
        if (!options.trace_file.empty() && !trace_.write_to(options.trace_file)) {
            std::cerr << options.trace_file.string() << ": cannot write the trace" << std::endl;
        }
    }

    Platform& platform() override { return platform_; }

private:
    VirtualClock clock_;
    Trace trace_;
    HeadlessBackend backend_;
    Host host_;
    std::unique_ptr<MusicDevice> music_;
    std::unique_ptr<WavePlayer> wave_;
    std::unique_ptr<MasterLevel> master_;
    // Headless runs on the desktop: its saves are files, and its data folder is locked.
    FileSaveStore saves_;
    LockFile instance_;
    Platform platform_;
};

}  // namespace

std::unique_ptr<PlatformSet> make_headless_platform(const PlatformOptions& options) {
    return std::make_unique<HeadlessPlatformSet>(options);
}

}  // namespace dalvo::platform
