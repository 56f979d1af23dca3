#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/host.h"

namespace dalvo::platform {
namespace {

TEST(VirtualClock, LocalTimeStartsOnChristmasMorningAndFollowsVirtualTime) {
    VirtualClock clock(0xFFFFFF00u);  // a start near the wrap must not matter
    LocalTime t = clock.local_time();
    EXPECT_EQ(t.month * 100 + t.day, 1225);
    EXPECT_EQ(t.hour, 9);
    clock.sleep(15 * 3600 * 1000u + 61'500u);  // to the next day, past midnight
    t = clock.local_time();
    EXPECT_EQ(t.day * 10000 + t.hour * 100 + t.minute, 260001);
    EXPECT_EQ(clock.ticks(), 0xFFFFFF00u + 15 * 3600 * 1000u + 61'500u);  // wrapped
    clock.advance(7 * 24 * 3600 * 1000u);
    EXPECT_EQ(clock.local_time().year * 10000 + clock.local_time().month * 100 + clock.local_time().day, 20010102);
}

TEST(Timer, FiresEveryIntervalOnItsGridAndEnablingRestartsTheCountdown) {
    int ticks = 0;
    Timer timer("Clicker", 500, [&] { ++ticks; });
    EXPECT_FALSE(timer.poll(10'000));  // disabled
    timer.set_enabled(true, 0);
    EXPECT_FALSE(timer.poll(499));
    EXPECT_TRUE(timer.poll(500));
    // A late look gives one tick, and the next stays on the 500 ms grid.
    EXPECT_TRUE(timer.poll(2700));
    EXPECT_FALSE(timer.poll(2999));
    EXPECT_TRUE(timer.poll(3000));
    EXPECT_EQ(ticks, 3);

    timer.set_enabled(true, 3200);  // already on: the countdown starts again
    EXPECT_FALSE(timer.poll(3500));
    EXPECT_TRUE(timer.poll(3700));
    timer.set_enabled(false, 3700);
    EXPECT_FALSE(timer.poll(9000));
    EXPECT_EQ(ticks, 4);
    timer.set_enabled(true, 0xFFFFFF00u);  // due 500 ms later, past the tick-count wrap
    EXPECT_FALSE(timer.poll(0xFFFFFFFFu));
    EXPECT_TRUE(timer.poll(0x000001F4u - 0x100u));
}

TEST(Timer, DoesNotTickInsideItsOwnHandler) {
    int ticks = 0;
    Timer* self = nullptr;
    Timer timer("t", 10, [&] {
        ++ticks;
        EXPECT_FALSE(self->poll(1000));  // a yield inside the handler
    });
    self = &timer;
    timer.set_enabled(true, 0);
    EXPECT_TRUE(timer.poll(10));
    EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace dalvo::platform
