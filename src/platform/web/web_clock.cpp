#include "platform/web/web_clock.h"

#include <emscripten.h>

#include <cmath>
#include <ctime>

namespace dalvo::platform {

WebClock::WebClock() : start_ms_(emscripten_get_now()) {}

std::uint32_t WebClock::ticks() {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::floor(emscripten_get_now() - start_ms_)));
}

void WebClock::sleep(std::uint32_t ms) { emscripten_sleep(ms); }

LocalTime WebClock::local_time() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace dalvo::platform
