#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "testsupport/QtPump.h"
#include "widgets/QtMessageWindow.h"
#include "widgets/QtTimerHost.h"
#include "widgets/WindowMessageEvent.h"

using namespace vt::widgets;

namespace {

class Receiver : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() != WindowMessageEvent::EventType())
            return QObject::event(e);
        auto* m = static_cast<WindowMessageEvent*>(e);
        got.push_back({m->message, m->wParam, m->lParam});
        return true;
    }
    struct Got {
        vt::UINT message;
        vt::WPARAM w;
        vt::LPARAM l;
    };
    std::vector<Got> got;
};

class CountingSink : public vt::TimerSink {
public:
    void OnTimer(int id) override { fired.push_back(id); }
    std::vector<int> fired;
};

TEST(QtMessageWindow, DeliversPostsFromOtherThreadsOnTheWindowThread) {
    Receiver receiver;
    QtMessageWindow window(&receiver);
    std::thread poster([&] {
        for (int i = 0; i < 5; ++i) window.Post(vt::WM_USER + 15, 3, i);
    });
    poster.join();
    ASSERT_TRUE(vt::test::PumpUntil([&] { return receiver.got.size() == 5; }, 2000));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(receiver.got[i].message, vt::WM_USER + 15);
        EXPECT_EQ(receiver.got[i].w, 3u);
        EXPECT_EQ(receiver.got[i].l, i) << "in posting order";
    }
}

TEST(QtMessageWindow, RefusesAfterClose) {
    Receiver receiver;
    QtMessageWindow window(&receiver);
    window.Close();
    EXPECT_FALSE(window.Post(1, 0, 0));
    vt::test::PumpFor(20);
    EXPECT_TRUE(receiver.got.empty());
}

TEST(QtTimerHost, FiresByIdUntilStopped) {
    CountingSink sink;
    QtTimerHost host(&sink);
    EXPECT_FALSE(host.IsRunning(55));
    host.Start(55, 5);
    EXPECT_TRUE(host.IsRunning(55));
    ASSERT_TRUE(vt::test::PumpUntil([&] { return sink.fired.size() >= 2; }, 2000));
    host.Stop(55);
    EXPECT_FALSE(host.IsRunning(55));
    const auto count = sink.fired.size();
    vt::test::PumpFor(30);
    EXPECT_EQ(sink.fired.size(), count) << "a stopped timer stays quiet";
    for (int id : sink.fired) EXPECT_EQ(id, 55);
}

}  // namespace
