#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "widgets/WindowDrag.h"

using vt::widgets::WindowDrag;

namespace {

// A window that may be dragged by its upper 50 pixels, with a button there.
class WindowDragTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_.setWindowFlag(Qt::FramelessWindowHint);
        window_.resize(300, 200);
        button_.setGeometry(200, 10, 60, 30);
        window_.move(100, 100);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    // A move to `at` with `held` buttons down, as the window would get it.
    void MoveTo(QWidget* target, QPoint at, Qt::MouseButtons held) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), target->mapToGlobal(QPointF(at)),
                         Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }

    QWidget window_;
    QPushButton button_{&window_};
    WindowDrag drag_{window_, [](const QPoint& at) { return at.y() < 50; }};
};

TEST_F(WindowDragTest, MovesWithTheHeldButtonFromWhereTheWindowAllowsIt) {
    struct Case {
        const char* what;
        Qt::MouseButton button;
        QPoint press;
        bool onButton;  // pressed on the child button instead of the window
        Qt::MouseButtons held;
        QPoint moved;  // how far the window moves
    };
    const Case cases[] = {
        {"left press on the background", Qt::LeftButton, {20, 20}, false, Qt::LeftButton, {30, 15}},
        {"below the part that drags", Qt::LeftButton, {20, 120}, false, Qt::LeftButton, {0, 0}},
        {"right button", Qt::RightButton, {20, 20}, false, Qt::RightButton, {0, 0}},
        {"moves without the button held", Qt::LeftButton, {20, 20}, false, Qt::NoButton, {0, 0}},
        {"on a control", Qt::LeftButton, {10, 10}, true, Qt::LeftButton, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window_.move(100, 100);
        const QPoint start = window_.pos();
        QWidget* target = c.onButton ? static_cast<QWidget*>(&button_) : &window_;
        QTest::mousePress(target, c.button, {}, c.press);
        MoveTo(target, c.press + QPoint(30, 15), c.held);
        QTest::mouseRelease(target, c.button, {}, c.press + QPoint(30, 15));
        EXPECT_EQ(window_.pos() - start, c.moved);
        // After the release nothing drags until the next press.
        MoveTo(&window_, QPoint(5, 5), Qt::LeftButton);
        EXPECT_EQ(window_.pos() - start, c.moved);
    }
}

}  // namespace
