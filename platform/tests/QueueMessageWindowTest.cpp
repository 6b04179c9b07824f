#include "platform/QueueMessageWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using vt::QueueMessageWindow;

TEST(QueueMessageWindow, KeepsPostingOrderAcrossThreads) {
    QueueMessageWindow window;
    constexpr int kPerThread = 500;
    std::vector<std::thread> posters;
    for (int t = 0; t < 4; ++t)
        posters.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) window.Post(vt::WM_USER + t, t, i);
        });
    for (auto& p : posters) p.join();
    auto all = window.Drain();
    ASSERT_EQ(all.size(), 4u * kPerThread);
    std::vector<int> next(4, 0);
    for (const auto& m : all) {
        int t = static_cast<int>(m.wParam);
        EXPECT_EQ(m.message, vt::WM_USER + t);
        EXPECT_EQ(m.lParam, next[t]++) << "messages of one poster arrive in order";
    }
    EXPECT_TRUE(window.Drain().empty());
}

TEST(QueueMessageWindow, WaitForPicksTheNumberAndKeepsOthers) {
    QueueMessageWindow window;
    window.Post(0x410, 0, 1);
    window.Post(0x40A, 0, 0);
    window.Post(0x410, 0, 0);
    auto ring = window.WaitFor(0x40A, 0ms);
    ASSERT_TRUE(ring);
    EXPECT_EQ(ring->message, 0x40Au);
    EXPECT_EQ(window.Count(0x410), 2u);
    auto first = window.Take(0ms);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->lParam, 1);
}

TEST(QueueMessageWindow, WaitForTimesOutAndWakesOnPost) {
    QueueMessageWindow window;
    EXPECT_FALSE(window.WaitFor(0x40D, 5ms));
    std::thread later([&] {
        std::this_thread::sleep_for(10ms);
        window.Post(0x40D, 3, 0);
    });
    auto removed = window.WaitFor(0x40D, 2000ms);
    later.join();
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->wParam, 3u);
}

TEST(QueueMessageWindow, ClosedWindowRefusesPosts) {
    QueueMessageWindow window;
    window.Close();
    EXPECT_FALSE(window.Post(0x40A, 0, 0));
    EXPECT_FALSE(window.Take(0ms));
}

// A reader that has taken the last message may destroy the window at once,
// while the poster's thread is still running (a worker's end message).
TEST(QueueMessageWindow, ReaderMayDestroyTheWindowRightAfterTheMessage) {
    for (int i = 0; i < 200; ++i) {
        auto window = std::make_unique<QueueMessageWindow>();
        std::thread poster([w = window.get()] { w->Post(0x40F, 0, 0); });
        ASSERT_TRUE(window->WaitFor(0x40F, 5000ms));
        window.reset();
        poster.join();
    }
}
