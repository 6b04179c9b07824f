#include "linesim/LineTone.h"

#include <algorithm>
#include <cmath>

namespace linesim {

namespace {

constexpr double kRate = 8000.0;
// Each of the two waves about 21 dB below full scale: a line's tone level.
constexpr double kAmplitude = 2900.0;

}  // namespace

bool LineTone::Sounds(std::size_t count, std::int64_t offset) const {
    if (Silent() || offset + static_cast<std::int64_t>(count) <= 0)
        return false;
    // A cadence's smallest step is a millisecond (8 samples).
    for (std::int64_t i = std::max<std::int64_t>(offset, 0);
         i < offset + static_cast<std::int64_t>(count); i += 8)
        if (cadence.IsOn(static_cast<std::uint64_t>(i) / 8))
            return true;
    return false;
}

void LineTone::MixInto(std::int16_t* pcm, std::size_t count, std::int64_t offset) const {
    if (Silent())
        return;
    for (std::size_t k = 0; k < count; ++k) {
        const std::int64_t n = offset + static_cast<std::int64_t>(k);
        if (n < 0 || !cadence.IsOn(static_cast<std::uint64_t>(n) / 8))
            continue;
        const double t = static_cast<double>(n) / kRate;
        const double v =
            kAmplitude * (std::sin(2.0 * M_PI * lowHz * t) + std::sin(2.0 * M_PI * highHz * t));
        const long mixed = std::lround(pcm[k] + v);
        pcm[k] = static_cast<std::int16_t>(std::clamp(mixed, -32768L, 32767L));
    }
}

}  // namespace linesim
