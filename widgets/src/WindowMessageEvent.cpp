#include "widgets/WindowMessageEvent.h"

namespace vt::widgets {

WindowMessageEvent::WindowMessageEvent(vt::UINT m, vt::WPARAM w, vt::LPARAM l)
    : QEvent(EventType()), message(m), wParam(w), lParam(l) {}

QEvent::Type WindowMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

}  // namespace vt::widgets
