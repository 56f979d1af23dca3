// The real platform: SDL video and input, the machine's clock, the SDL sound devices.

#include <SDL.h>

#include <cstdio>

#include "platform/gfx/font.h"
#include "platform/os/file_save_store.h"
#include "platform/os/lock_file.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_backend.h"

namespace dalvo::platform {

namespace {

// SDL itself, started for the life of the platform.
class SdlSession {
public:
    SdlSession() {
        ok_ = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
        if (!ok_) {
            error_ = SDL_GetError();
            return;
        }
        // Without a sound card the game still runs; its sound devices report why.
        (void)SDL_InitSubSystem(SDL_INIT_AUDIO);
    }
    ~SdlSession() {
        if (ok_) SDL_Quit();
    }
    SdlSession(const SdlSession&) = delete;
    SdlSession& operator=(const SdlSession&) = delete;

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }

private:
    bool ok_ = false;
    std::string error_;
};

class SdlPlatformSet final : public PlatformSet {
public:
    explicit SdlPlatformSet(const PlatformOptions& options) : options_(options) {}

    bool start(std::string& error) {
        if (!sdl_.ok()) {
            error = "SDL could not start: " + sdl_.error();
            return false;
        }
        const std::string fonts = check_fonts();
        if (!fonts.empty()) {
            error = fonts;
            return false;
        }
        if (!options_.trace_file.empty() && !trace_.write_to(options_.trace_file)) {
            error = "cannot write the trace file " + options_.trace_file.string();
            return false;
        }
        backend_ = std::make_unique<SdlBackend>(options_.scale, options_.icon);
        if (backend_->scale() < options_.scale) {
            std::fprintf(stderr, "dalvo: --scale %d does not fit the screen; the window uses scale %d\n",
                         options_.scale, backend_->scale());
        }
        host_ = std::make_unique<Host>(clock_, trace_, *backend_);
        std::string warning;
        music_ = make_sdl_music_device(clock_, trace_, options_.soundfont, warning);
        if (!warning.empty()) std::fprintf(stderr, "dalvo: %s\n", warning.c_str());
        wave_ = make_sdl_wave_player(clock_, trace_);
        master_ = make_sdl_master_level(trace_);
        if (!music_ || !wave_ || !master_) {
            error = "the sound devices could not be made";
            return false;
        }
        platform_ = std::make_unique<Platform>(
            Platform{clock_, *host_, trace_, *music_, *wave_, *master_, saves_, instance_});
        return true;
    }

    Platform& platform() override { return *platform_; }

private:
    // Declared in the order of need: destroyed in reverse, SDL last.
    PlatformOptions options_;
    SdlSession sdl_;
    RealClock clock_;
    Trace trace_{clock_};
    std::unique_ptr<SdlBackend> backend_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<MusicDevice> music_;
    std::unique_ptr<WavePlayer> wave_;
    std::unique_ptr<MasterLevel> master_;
    FileSaveStore saves_;
    LockFile instance_;
    std::unique_ptr<Platform> platform_;
};

}  // namespace

std::unique_ptr<PlatformSet> make_sdl_platform(const PlatformOptions& options, std::string& error) {
    auto set = std::make_unique<SdlPlatformSet>(options);
    if (!set->start(error)) return nullptr;
    return set;
}

}  // namespace dalvo::platform
