#include "platform/web/web_clock.h"

#include <emscripten.h>

#include <cmath>
#include <ctime>

namespace {

// A sleep hands the turn to the browser and resumes after `ms`. The timer is set from a
// message task rather than straight from the one that resumed the game: a chain of
// timers set from timers is held to 4 ms steps by the browser, which a paced effect's
// short waits would feel.
// clang-format off
EM_ASYNC_JS(void, dalvo_sleep, (int ms), {
    await new Promise((wake) => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => setTimeout(wake, ms);
        channel.port2.postMessage(0);
    });
});
// clang-format on

}  // namespace

namespace dalvo::platform {

WebClock::WebClock() : start_ms_(emscripten_get_now()) {}

std::uint32_t WebClock::ticks() {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::floor(emscripten_get_now() - start_ms_)));
}

void WebClock::sleep(std::uint32_t ms) { dalvo_sleep(static_cast<int>(ms)); }

LocalTime WebClock::local_time() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace dalvo::platform
