#pragma once
// The browser's platform: the page's clock, the one-canvas backend, the sound
// devices over the linked-in mixer.

#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/web/web_backend.h"

namespace dalvo::platform {

class WebPlatformSet : public PlatformSet {
public:
    virtual WebBackend& backend() = 0;
};

// nullptr with `error` set when SDL cannot start or a font is missing. The rendered
// music is looked for in `music_dir`.
std::unique_ptr<WebPlatformSet> make_web_platform(const std::string& music_dir, std::string& error);

}  // namespace dalvo::platform
