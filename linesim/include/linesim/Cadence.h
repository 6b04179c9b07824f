#pragma once
// An on/off pattern in milliseconds: ring signal, call-progress tones, key
// strobes. `count` limits the number of bursts (0 = until stopped); an
// `offMs` of 0 is a continuous signal.

#include <cstdint>

namespace linesim {

struct Cadence {
    std::uint32_t onMs = 1000;
    std::uint32_t offMs = 1000;
    std::uint32_t count = 0;

    // Whether the signal is on `elapsedMs` after the cadence started.
    bool IsOn(std::uint64_t elapsedMs) const;
    // Whether a counted cadence has played all its bursts.
    bool Finished(std::uint64_t elapsedMs) const;

    static Cadence Continuous() { return Cadence{1, 0, 0}; }
};

}  // namespace linesim
