#pragma once
// Monotonic millisecond tick and sleep.

#include <cstdint>

namespace vt {

// Milliseconds since an arbitrary start; never goes back.
std::uint64_t TickCount64();

// The 32-bit tick, wrapping after about 49.7 days like the classic counter.
inline std::uint32_t TickCount() { return static_cast<std::uint32_t>(TickCount64()); }

void SleepMs(unsigned milliseconds);

}  // namespace vt
