#pragma once
// Waiting while the window lives, and the pacing of animation frames: the few shapes
// every wait of the game takes, kept here so that each subsystem waits alike.

#include <cstdint>

#include "platform/host.h"

namespace dalvo::platform {

// Sleeps `poll_ms`, yields, until `done()`: a wait for the player or for a time.
template <class Pred>
void wait_until(Host& host, Pred done, std::uint32_t poll_ms) {
    while (!done()) {
        host.clock().sleep(poll_ms);
        host.yield();
    }
}

// Yields, sleeps `poll_ms`, until `done()`: the same wait with the window served first.
template <class Pred>
void yield_until(Host& host, Pred done, std::uint32_t poll_ms) {
    while (!done()) {
        host.yield();
        host.clock().sleep(poll_ms);
    }
}

// Sleeps `poll_ms` and yields until `ms` have passed since the tick count `since`.
void wait_since(Host& host, std::uint32_t since, std::uint32_t ms, std::uint32_t poll_ms);

// `times` pauses of `ms`, each a sleep then a yield.
void sleep_then_yield(Host& host, std::uint32_t ms, int times = 1);
// `times` pauses of `ms`, each a yield then a sleep.
void yield_then_sleep(Host& host, std::uint32_t ms, int times = 1);

// Frame pacing of the animated effects: a frame notes the tick count at its start;
// at its end the frame is shown, the rest of its time slept, and the host yields once.
class FramePacer {
public:
    explicit FramePacer(Host& host) : host_(host) {}
    void start();
    void end(std::uint32_t frame_ms);
    // Milliseconds since the frame started.
    std::uint32_t elapsed() const;
    // Sleeps until `ms` have passed since the frame started (no yield).
    void sleep_until(std::uint32_t ms);

private:
    Host& host_;
    std::uint32_t start_ = 0;
};

}  // namespace dalvo::platform
