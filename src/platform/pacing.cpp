#include "platform/pacing.h"

namespace dalvo::platform {

// Unsigned differences throughout: the wrap of the tick count does no harm.

void wait_since(Host& host, std::uint32_t since, std::uint32_t ms, std::uint32_t poll_ms) {
    wait_until(host, [&] { return host.clock().ticks() - since >= ms; }, poll_ms);
}

void sleep_then_yield(Host& host, std::uint32_t ms, int times) {
    for (int i = 0; i < times; ++i) {
        host.clock().sleep(ms);
        host.yield();
    }
}

void yield_then_sleep(Host& host, std::uint32_t ms, int times) {
    for (int i = 0; i < times; ++i) {
        host.yield();
        host.clock().sleep(ms);
    }
}

void FramePacer::start() { start_ = host_.clock().ticks(); }

std::uint32_t FramePacer::elapsed() const { return host_.clock().ticks() - start_; }

void FramePacer::end(std::uint32_t frame_ms) {
    // The frame is on the screen before its time is measured, as a refreshed picture
    // was painted at once: the wait then covers drawing and showing alike.
    host_.present();
    sleep_until(frame_ms);
    host_.yield();
    // What the frame really took, shown included: how well the effect holds its pace.
    host_.trace().event("frame", {{"target", frame_ms}, {"took", elapsed()}});
}

void FramePacer::sleep_until(std::uint32_t ms) {
    const std::uint32_t span = elapsed();
    if (span < ms) host_.clock().sleep(ms - span);
}

}  // namespace dalvo::platform
