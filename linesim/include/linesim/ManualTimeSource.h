#pragma once
// Time that moves only when a test says so. Thread-safe, so a test may
// advance it while another thread (a blocked transfer) reads it.

#include <atomic>

#include "linesim/TimeSource.h"

namespace linesim {

class ManualTimeSource : public TimeSource {
public:
    explicit ManualTimeSource(std::uint64_t startMs = 1000) : now_(startMs) {}
    std::uint64_t NowMs() const override { return now_.load(); }
    void Advance(std::uint64_t ms) { now_.fetch_add(ms); }

private:
    std::atomic<std::uint64_t> now_;
};

}  // namespace linesim
