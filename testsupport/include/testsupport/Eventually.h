#pragma once
// For tests that watch another process: polls `done` every 20 ms until it
// holds or `limit` has passed (a bound against hanging, not a timing goal).

#include <chrono>
#include <thread>

namespace vt::test {

template <typename Done>
bool Eventually(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace vt::test
