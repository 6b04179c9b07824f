// The phone's start after the window's first paint: what waits for it, and
// the latest start of a window that never paints.

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/ManualTimerHost.h"
#include "testsupport/QtPump.h"
#include "vantelo/app/DeferredStart.h"

namespace vantelo {
namespace {

using Log = std::vector<std::string>;

TEST(DeferredStart, StartsAfterTheFirstPaintOrAtTheLatestThenRunsWhatWaited) {
    struct Case {
        const char* what;
        bool shown;
        unsigned waitedMs;  // on the latest-start timer before the tasks come
    };
    const Case cases[] = {
        {"the window paints", true, 0},
        {"a window kept from the screen", false, DeferredStart::kLatestMs - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        window.resize(100, 100);
        vt::ManualTimerHost timers;
        Log log;
        DeferredStart deferred(
            window, [&] { log.push_back("start"); }, &timers);
        timers.SetSink(&deferred);
        timers.Advance(c.waitedMs);
        deferred.Run([&] { log.push_back("request 1"); });
        deferred.Run([&] {
            log.push_back("request 2");
            // A task that comes while the waiting ones run goes behind them.
            deferred.Run([&] { log.push_back("request 4"); });
        });
        deferred.Run([&] { log.push_back("request 3"); });
        EXPECT_TRUE(log.empty()) << "nothing runs before the paint or the latest start";
        EXPECT_FALSE(deferred.Started());

        if (c.shown) {
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            ASSERT_TRUE(vt::test::PumpUntil([&] { return deferred.Started(); }));
        } else {
            timers.Advance(1);
        }
        EXPECT_EQ(log, Log({"start", "request 1", "request 2", "request 3", "request 4"}));
        EXPECT_TRUE(deferred.Started());
        EXPECT_FALSE(timers.IsRunning(DeferredStart::kLatestTimer));

        // Once started, a task runs at once; a later paint starts nothing.
        deferred.Run([&] { log.push_back("request 5"); });
        window.repaint();
        vt::test::PumpFor(20);
        EXPECT_EQ(log.back(), "request 5");
        EXPECT_EQ(std::count(log.begin(), log.end(), "start"), 1);
    }
}

}  // namespace
}  // namespace vantelo
