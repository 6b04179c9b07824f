#include "platform/ManualTimerHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

struct Recorder : vt::TimerSink {
    vt::ManualTimerHost* host = nullptr;
    std::vector<std::pair<std::uint64_t, int>> fired;
    std::function<void(int)> onTimer;
    void OnTimer(int id) override {
        fired.emplace_back(host->NowMs(), id);
        if (onTimer) onTimer(id);
    }
};

}  // namespace

TEST(ManualTimerHost, TimersRepeatUntilStoppedInTimeOrder) {
    Recorder r;
    vt::ManualTimerHost host(&r);
    r.host = &host;
    host.Start(3, 15000);
    host.Start(2, 2000);
    host.Advance(14999);
    EXPECT_EQ(r.fired.size(), 7u);  // timer 2 at 2 s .. 14 s
    host.Advance(1);
    ASSERT_EQ(r.fired.size(), 8u);
    EXPECT_EQ(r.fired.back(), std::make_pair(std::uint64_t{15000}, 3));
    host.Advance(1000);
    ASSERT_EQ(r.fired.size(), 9u);
    EXPECT_EQ(r.fired.back(), std::make_pair(std::uint64_t{16000}, 2)) << "equal due times: lower id first";
    host.Stop(2);
    host.Stop(3);
    host.Advance(100000);
    EXPECT_EQ(r.fired.size(), 9u);
}

TEST(ManualTimerHost, HandlerMayStopOrRestartTimers) {
    Recorder r;
    vt::ManualTimerHost host(&r);
    r.host = &host;
    r.onTimer = [&](int id) {
        if (id == 3) host.Stop(3);            // one-shot use, as handlers do
        if (id == 5) host.Start(10, 500);     // start another from a handler
    };
    host.Start(3, 100);
    host.Start(5, 1000);
    host.Advance(1600);
    std::vector<std::pair<std::uint64_t, int>> expected{{100, 3}, {1000, 5}, {1500, 10}};
    EXPECT_EQ(r.fired, expected);
    EXPECT_FALSE(host.IsRunning(3));
    EXPECT_TRUE(host.IsRunning(10));
    EXPECT_EQ(host.PeriodOf(10), 500u);
}

TEST(ManualTimerHost, RestartingMovesTheDueTime) {
    Recorder r;
    vt::ManualTimerHost host(&r);
    r.host = &host;
    host.Start(33, 1000);
    host.Advance(900);
    host.Start(33, 1000);
    host.Advance(900);
    EXPECT_TRUE(r.fired.empty());
    host.Advance(100);
    ASSERT_EQ(r.fired.size(), 1u);
    EXPECT_EQ(r.fired[0].first, 1900u);
}
