#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "testsupport/QtPump.h"
#include "widgets/FirstPaint.h"

using vt::widgets::FirstPaint;

namespace {

TEST(FirstPaintTest, RunsOnceAfterTheFirstPaintWhileItsContextLasts) {
    struct Case {
        const char* what;
        bool shownBefore;  // the window is on the screen when the task is given
        bool contextGoes;  // the task's context is gone before the paint
        std::vector<std::string> ran;
    };
    const Case cases[] = {
        {"shown later", false, false, {"task"}},
        {"on the screen already", true, false, {"task"}},
        {"context gone first", false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        window.resize(50, 50);
        if (c.shownBefore) {
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
        auto context = std::make_unique<QObject>();
        std::vector<std::string> ran;
        FirstPaint::Then(window, context.get(), [&] { ran.push_back("task"); });
        vt::test::PumpFor(10);
        if (!c.shownBefore) {
            EXPECT_TRUE(ran.empty()) << "nothing before the window paints";
        }
        if (c.contextGoes)
            context.reset();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        vt::test::PumpUntil([&] { return !ran.empty(); }, 200);
        window.repaint();  // a later paint runs nothing again
        vt::test::PumpFor(10);
        EXPECT_EQ(ran, c.ran);
    }
}

}  // namespace
