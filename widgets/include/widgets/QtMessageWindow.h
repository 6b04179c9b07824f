#pragma once
// The message window of a Qt window object: Post (from any thread) queues a
// WindowMessageEvent for the target, which handles it in its event().
// After Close (the target's destructor calls it) posts are refused.

#include <QObject>
#include <mutex>

#include "platform/MessageWindow.h"

namespace vt::widgets {

class QtMessageWindow : public vt::MessageWindow {
public:
    explicit QtMessageWindow(QObject* target);
    ~QtMessageWindow() override;

    bool Post(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) noexcept override;
    void Close();

private:
    std::mutex mutex_;
    QObject* target_;
};

}  // namespace vt::widgets
