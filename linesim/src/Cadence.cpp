#include "linesim/Cadence.h"

namespace linesim {

bool Cadence::IsOn(std::uint64_t elapsedMs) const {
    if (Finished(elapsedMs))
        return false;
    if (offMs == 0)
        return true;
    const std::uint64_t period = static_cast<std::uint64_t>(onMs) + offMs;
    return elapsedMs % period < onMs;
}

bool Cadence::Finished(std::uint64_t elapsedMs) const {
    if (count == 0)
        return false;
    const std::uint64_t period = static_cast<std::uint64_t>(onMs) + offMs;
    // The last burst's off time is not waited for: it ends with its tone.
    return elapsedMs >= period * (count - 1) + onMs;
}

}  // namespace linesim
