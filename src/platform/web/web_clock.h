#pragma once
// The browser's clock: every sleep hands the turn back to the browser (the page
// draws, delivers input and plays sound meanwhile) and resumes the game after it.

#include "platform/os/clock.h"

namespace dalvo::platform {

class WebClock final : public Clock {
public:
    WebClock();
    std::uint32_t ticks() override;
    void sleep(std::uint32_t ms) override;
    LocalTime local_time() override;

private:
    double start_ms_;
};

}  // namespace dalvo::platform
