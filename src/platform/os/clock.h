#pragma once
// The only way game code sees time.

#include <cstdint>

namespace dalvo::platform {

struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, wrapping at 2^32 like the system tick count.
    virtual std::uint32_t ticks() = 0;
    // Blocks for `ms` milliseconds (headless: advances virtual time at once).
    virtual void sleep(std::uint32_t ms) = 0;
    // The local date and time (headless: derived from virtual time, fixed start).
    virtual LocalTime local_time() = 0;
};

// Virtual time: sleep() advances it at once, nothing else does.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(std::uint32_t start = 0) : now_(start) {}
    std::uint32_t ticks() override { return now_; }
    void sleep(std::uint32_t ms) override { advance(ms); }
    // 2000/12/25 09:00:00 plus the virtual time passed since construction.
    LocalTime local_time() override;
    void advance(std::uint32_t ms) {
        now_ += ms;
        elapsed_ += ms;
    }

private:
    std::uint32_t now_;
    std::uint64_t elapsed_ = 0;  // does not wrap, unlike the tick count
};

// The machine's own clock.
class RealClock final : public Clock {
public:
    RealClock();
    std::uint32_t ticks() override;
    void sleep(std::uint32_t ms) override;
    LocalTime local_time() override;

private:
    std::uint64_t start_ns_;
};

}  // namespace dalvo::platform
