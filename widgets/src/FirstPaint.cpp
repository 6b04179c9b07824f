#include "widgets/FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace vt::widgets {

void FirstPaint::Then(QWidget& window, QObject* context, std::function<void()> task) {
    QWindow* handle = window.windowHandle();
    if (window.isVisible() && handle && handle->isExposed()) {
        QTimer::singleShot(0, context, std::move(task));
        return;
    }
    new FirstPaint(window, context, std::move(task));
}

FirstPaint::FirstPaint(QWidget& window, QObject* context, std::function<void()> task)
    : QObject(&window), window_(window), context_(context), task_(std::move(task)) {
    window_.installEventFilter(this);
    // A context that goes first takes the waiting task with it.
    connect(context_, &QObject::destroyed, this, [this] {
        task_ = nullptr;
        deleteLater();
    });
}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Paint && task_) {
        // Once this paint is done.
        QTimer::singleShot(0, context_, std::move(task_));
        task_ = nullptr;
        window_.removeEventFilter(this);
        deleteLater();
    }
    return false;
}

}  // namespace vt::widgets
