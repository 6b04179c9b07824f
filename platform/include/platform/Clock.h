#pragma once
// Wall-clock time for names and records (recording folders, log dates).
// Code that names things by the time takes a Clock so tests can fix it.

#include <chrono>

namespace vt {

struct LocalTime {
    int year = 0;    // four digits
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point Now() const = 0;
    LocalTime NowLocal() const;
};

class SystemClock : public Clock {
public:
    std::chrono::system_clock::time_point Now() const override;
    static const SystemClock& Instance();
};

class FixedClock : public Clock {
public:
    explicit FixedClock(std::chrono::system_clock::time_point at) : at_(at) {}
    // Local calendar time; seconds resolution.
    static FixedClock At(int year, int month, int day, int hour, int minute, int second);
    std::chrono::system_clock::time_point Now() const override { return at_; }
    void Set(std::chrono::system_clock::time_point at) { at_ = at; }
    void AdvanceSeconds(long seconds) { at_ += std::chrono::seconds(seconds); }

private:
    std::chrono::system_clock::time_point at_;
};

LocalTime ToLocalTime(std::chrono::system_clock::time_point at);
// The moment a local calendar time names (daylight saving as the zone says).
std::chrono::system_clock::time_point FromLocalTime(const LocalTime& t);

}  // namespace vt
