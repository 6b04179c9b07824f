#pragma once
// A posted window message (message number, wParam, lParam) carried as a Qt
// event to the window object that receives it, on the window's thread.

#include <QEvent>

#include "platform/MessageWindow.h"

namespace vt::widgets {

class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam);

    static QEvent::Type EventType();

    vt::UINT message;
    vt::WPARAM wParam;
    vt::LPARAM lParam;
};

}  // namespace vt::widgets
