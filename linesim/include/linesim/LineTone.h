#pragma once
// The sound of an exchange's call-progress tone: two sine waves switched by
// a cadence. The recording stream adds it to the line audio, so a recording
// hears the dial tone, the ring-back and the busy tone that a held line
// carries, as a real line's does.

#include <cstddef>
#include <cstdint>

#include "linesim/Cadence.h"

namespace linesim {

struct LineTone {
    double lowHz = 0.0;  // 0: no tone
    double highHz = 0.0;
    Cadence cadence;

    bool Silent() const { return lowHz <= 0.0; }
    // Adds the tone to `count` samples of 8 kHz audio whose first sample lies
    // `offset` samples after the tone began (negative: before it began),
    // clipping at full scale. Nothing is added before the start or in the
    // cadence's off times.
    void MixInto(std::int16_t* pcm, std::size_t count, std::int64_t offset) const;
    // Whether any of those samples carries the tone.
    bool Sounds(std::size_t count, std::int64_t offset) const;
};

}  // namespace linesim
