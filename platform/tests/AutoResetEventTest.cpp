#include "platform/AutoResetEvent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;
using vt::AutoResetEvent;

TEST(AutoResetEvent, ZeroTimeoutTestConsumesTheSignal) {
    AutoResetEvent e;
    EXPECT_FALSE(e.Wait(0ms));
    e.Set();
    EXPECT_TRUE(e.Wait(0ms));
    EXPECT_FALSE(e.Wait(0ms)) << "the first test must consume the signal";
}

TEST(AutoResetEvent, InitiallySetAndReset) {
    AutoResetEvent set(true);
    set.Reset();
    EXPECT_FALSE(set.Wait(0ms));
    AutoResetEvent initially(true);
    EXPECT_TRUE(initially.Wait(0ms));
}

TEST(AutoResetEvent, SetFromAnotherThreadWakesWaiter) {
    AutoResetEvent e;
    std::atomic<bool> woke{false};
    std::thread waiter([&] {
        e.Wait();
        woke = true;
    });
    std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(woke.load());
    e.Set();
    waiter.join();
    EXPECT_TRUE(woke.load());
}

TEST(AutoResetEvent, RepeatedSetsBeforeAWaitCountOnce) {
    AutoResetEvent e;
    e.Set();
    e.Set();
    EXPECT_TRUE(e.Wait(0ms));
    EXPECT_FALSE(e.Wait(0ms));
}
