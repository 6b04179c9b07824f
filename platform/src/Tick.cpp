#include "platform/Tick.h"

#include <chrono>
#include <thread>

namespace vt {

std::uint64_t TickCount64() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SleepMs(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace vt
