#pragma once
// An auto-reset event: Set wakes one waiter, and the signal is consumed by the
// first Wait that sees it (a zero time-out Wait tests and consumes).

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vt {

class AutoResetEvent {
public:
    explicit AutoResetEvent(bool initiallySet = false) : signalled_(initiallySet) {}
    AutoResetEvent(const AutoResetEvent&) = delete;
    AutoResetEvent& operator=(const AutoResetEvent&) = delete;

    void Set();
    void Reset();

    // True if the event was (or became) signalled within `timeout`; the
    // signal is consumed. A zero time-out only tests.
    bool Wait(std::chrono::milliseconds timeout);

    // Waits without time-out.
    void Wait();

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_;
};

}  // namespace vt
