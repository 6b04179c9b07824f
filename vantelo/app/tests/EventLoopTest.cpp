// The headless window thread: messages and tasks in order, timers by id.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "vantelo/app/EventLoop.h"

namespace vantelo {
namespace {

struct CountingSink : vt::TimerSink {
    EventLoop* loop = nullptr;
    int fired = 0;
    void OnTimer(int id) override {
        ++fired;
        if (fired == 3) {
            loop->Stop(id);
            loop->Quit();
        }
    }
};

TEST(EventLoop, MessagesAndTasksFromOtherThreadsRunInOrder) {
    EventLoop loop;
    std::vector<std::string> seen;
    loop.SetMessageHandler([&](vt::UINT m, vt::WPARAM w, vt::LPARAM l) {
        seen.push_back(std::to_string(m) + "/" + std::to_string(w) + "/" + std::to_string(l));
    });
    std::thread poster([&] {
        EXPECT_TRUE(loop.Post(0x410, 0, 1));
        loop.PostTask([&] { seen.push_back("task"); });
        EXPECT_TRUE(loop.Post(0x411, 0, 5700));
        loop.PostTask([&] { loop.Quit(); });
    });
    loop.Run();
    poster.join();
    EXPECT_EQ(seen, (std::vector<std::string>{"1040/0/1", "task", "1041/0/5700"}));
    EXPECT_FALSE(loop.Post(0x410, 0, 0)) << "a finished loop takes no more messages";
}

TEST(EventLoop, ATimerFiresUntilStopped) {
    EventLoop loop;
    CountingSink sink;
    sink.loop = &loop;
    loop.SetTimerSink(&sink);
    loop.PostTask([&] { loop.Start(3, 1); });
    loop.Run();
    EXPECT_EQ(sink.fired, 3);
    EXPECT_FALSE(loop.IsRunning(3));
}

}  // namespace
}  // namespace vantelo
