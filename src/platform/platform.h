#pragma once
// The platform as the game sees it, and how main() makes one.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/audio/devices.h"
#include "platform/os/clock.h"
#include "platform/host.h"
#include "platform/services/instance_lock.h"
#include "platform/services/save_store.h"
#include "platform/automation/trace.h"

namespace dalvo::platform {

struct Platform {
    Clock& clock;
    Host& host;
    Trace& trace;
    MusicDevice& music;
    WavePlayer& wave;
    MasterLevel& master;
    SaveStore& saves;
    InstanceLock& instance;
};

// A window icon: `size` x `size` straight RGBA pixels, rows top-down; none when null.
struct WindowIcon {
    int size = 0;
    const unsigned char* rgba = nullptr;
};

struct PlatformOptions {
    bool headless = false;
    int scale = 1;                            // real window: whole-multiple scaling
    std::uint32_t master_level = 65535;       // headless: the starting master level
    std::filesystem::path trace_file;         // empty: no trace file
    WindowIcon icon;                          // real window: the main window's icon
    std::filesystem::path soundfont;          // real window: the music's; empty: the system's own
};

// Owns one platform's clock, host, backend and devices.
class PlatformSet {
public:
    virtual ~PlatformSet() = default;
    virtual Platform& platform() = 0;
};

std::unique_ptr<PlatformSet> make_headless_platform(const PlatformOptions& options);
// nullptr with `error` set when SDL cannot start (no display, missing libraries).
std::unique_ptr<PlatformSet> make_sdl_platform(const PlatformOptions& options, std::string& error);

}  // namespace dalvo::platform
