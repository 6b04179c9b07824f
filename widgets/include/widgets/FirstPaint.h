#pragma once
// Work that a window's first picture does not need, run once the window has
// painted for the first time (from the event loop, right after that paint).

#include <QObject>
#include <functional>

class QWidget;

namespace vt::widgets {

class FirstPaint : public QObject {
    Q_OBJECT
public:
    // Runs `task` once, after the first paint of `window` (queued at once when
    // the window is on the screen already); never when `context` is gone by
    // then.
    static void Then(QWidget& window, QObject* context, std::function<void()> task);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FirstPaint(QWidget& window, QObject* context, std::function<void()> task);

    QWidget& window_;
    QObject* context_;
    std::function<void()> task_;
};

}  // namespace vt::widgets
