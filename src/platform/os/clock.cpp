#include "platform/os/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace dalvo::platform {

namespace {

LocalTime from_tm(const std::tm& tm) {
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::uint64_t steady_ns() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

}  // namespace

LocalTime VirtualClock::local_time() {
    using namespace std::chrono;
    // A fixed start keeps headless runs identical on every machine and every day.
    const sys_seconds start = sys_days{year{2000} / December / 25} + hours{9};
    const sys_seconds now = start + duration_cast<seconds>(milliseconds{elapsed_});
    const sys_days day = floor<days>(now);
    const year_month_day ymd{day};
    const hh_mm_ss<seconds> hms{now - day};
    return LocalTime{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                     static_cast<int>(static_cast<unsigned>(ymd.day())),
                     static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                     static_cast<int>(hms.seconds().count())};
}

RealClock::RealClock() : start_ns_(steady_ns()) {}

std::uint32_t RealClock::ticks() {
    // Truncation to 32 bits is the tick count's own wrap after about 49.7 days.
    return static_cast<std::uint32_t>((steady_ns() - start_ns_) / 1'000'000u);
}

void RealClock::sleep(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

LocalTime RealClock::local_time() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    return from_tm(tm);
}

}  // namespace dalvo::platform
