#pragma once
// Where the model takes "now" from. The line status word is a function of
// the model's state and the current time, so tests step a ManualTimeSource
// and never sleep; the daemon and default in-process adapters use
// SteadyTimeSource.

#include <cstdint>

namespace linesim {

class TimeSource {
public:
    virtual ~TimeSource() = default;
    // Milliseconds on a monotonic scale; never goes back. Thread-safe.
    virtual std::uint64_t NowMs() const = 0;
};

}  // namespace linesim
