#include "widgets/QtMessageWindow.h"

#include <QCoreApplication>

#include "widgets/WindowMessageEvent.h"

namespace vt::widgets {

QtMessageWindow::QtMessageWindow(QObject* target) : target_(target) {}

QtMessageWindow::~QtMessageWindow() {
    Close();
}

bool QtMessageWindow::Post(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) noexcept {
    try {
        std::lock_guard lock(mutex_);
        if (!target_)
            return false;
        QCoreApplication::postEvent(target_, new WindowMessageEvent(message, wParam, lParam));
        return true;
    } catch (...) {
        return false;
    }
}

void QtMessageWindow::Close() {
    std::lock_guard lock(mutex_);
    target_ = nullptr;
}

}  // namespace vt::widgets
