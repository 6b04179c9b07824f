#include "platform/Clock.h"

#include <ctime>

namespace vt {

LocalTime ToLocalTime(std::chrono::system_clock::time_point at) {
    std::time_t t = std::chrono::system_clock::to_time_t(at);
    std::tm tm{};
    localtime_r(&t, &tm);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                     tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

LocalTime Clock::NowLocal() const { return ToLocalTime(Now()); }

std::chrono::system_clock::time_point SystemClock::Now() const {
    return std::chrono::system_clock::now();
}

const SystemClock& SystemClock::Instance() {
    static const SystemClock clock;
    return clock;
}

std::chrono::system_clock::time_point FromLocalTime(const LocalTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

FixedClock FixedClock::At(int year, int month, int day, int hour, int minute, int second) {
    return FixedClock(FromLocalTime({year, month, day, hour, minute, second}));
}

}  // namespace vt
