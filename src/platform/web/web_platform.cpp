#include "platform/web/web_platform.h"

#include <SDL.h>

#include "platform/gfx/font.h"
#include "platform/web/web_audio.h"
#include "platform/web/web_clock.h"
#include "platform/web/web_save_store.h"

// web/library_dalvo.js: brings in the page-side functions SDL's audio calls.
extern "C" void dalvo_js_deps();

namespace dalvo::platform {
namespace {

class WebSet final : public WebPlatformSet {
public:
    bool start(const std::string& music_dir, std::string& error) {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            error = std::string("SDL could not start: ") + SDL_GetError();
            return false;
        }
        sdl_ = true;
        dalvo_js_deps();
        (void)SDL_InitSubSystem(SDL_INIT_AUDIO);
        error = check_fonts();
        if (!error.empty()) return false;
        backend_ = std::make_unique<WebBackend>();
        host_ = std::make_unique<Host>(clock_, trace_, *backend_);
        music_ = make_web_music_device(clock_, trace_, music_dir);
        wave_ = make_web_wave_player(clock_);
        master_ = make_web_master_level(trace_);
        platform_ = std::make_unique<Platform>(
            Platform{clock_, *host_, trace_, *music_, *wave_, *master_, saves_, instance_});
        return true;
    }
    ~WebSet() override {
        platform_.reset();
        master_.reset();
        wave_.reset();
        music_.reset();
        host_.reset();
        backend_.reset();
        if (sdl_) SDL_Quit();
    }

    Platform& platform() override { return *platform_; }
    WebBackend& backend() override { return *backend_; }

private:
    bool sdl_ = false;
    WebClock clock_;
    Trace trace_{clock_};
    std::unique_ptr<WebBackend> backend_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<MusicDevice> music_;
    std::unique_ptr<WavePlayer> wave_;
    std::unique_ptr<MasterLevel> master_;
    WebSaveStore saves_;
    NoInstanceLock instance_;  // a tab is alone with its storage
    std::unique_ptr<Platform> platform_;
};

}  // namespace

std::unique_ptr<WebPlatformSet> make_web_platform(const std::string& music_dir, std::string& error) {
    auto set = std::make_unique<WebSet>();
    if (!set->start(music_dir, error)) return nullptr;
    return set;
}

}  // namespace dalvo::platform
