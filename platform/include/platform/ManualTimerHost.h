#pragma once
// A timer host driven by a manual clock, so a 15 s timer is tested in
// microseconds. Advance fires due timers in time order (ties by id), calling
// the sink on the caller's thread; the sink may start and stop timers.

#include <cstdint>
#include <map>

#include "platform/TimerHost.h"

namespace vt {

class ManualTimerHost : public TimerHost {
public:
    explicit ManualTimerHost(TimerSink* sink = nullptr) : sink_(sink) {}

    void SetSink(TimerSink* sink) { sink_ = sink; }

    void Start(int id, unsigned ms) override;
    void Stop(int id) override;
    bool IsRunning(int id) const override;

    // Moves the clock forward, firing every timer that falls due.
    void Advance(std::uint64_t ms);

    std::uint64_t NowMs() const { return now_; }
    // Period of a running timer, 0 if stopped.
    unsigned PeriodOf(int id) const;

private:
    struct Timer {
        unsigned period;
        std::uint64_t due;
    };
    TimerSink* sink_;
    std::uint64_t now_ = 0;
    std::map<int, Timer> timers_;
};

}  // namespace vt
