#include "widgets/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>

namespace vt::widgets {

WindowDrag::WindowDrag(QWidget& window, std::function<bool(const QPoint&)> grabs)
    : QObject(&window), window_(window), grabs_(std::move(grabs)) {
    window_.installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_)
        return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() != Qt::LeftButton || (grabs_ && !grabs_(e->position().toPoint())))
                return false;
            dragging_ = true;
            offset_ = e->globalPosition().toPoint() - window_.frameGeometry().topLeft();
            e->accept();
            return true;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (!dragging_ || !(e->buttons() & Qt::LeftButton))
                return false;
            window_.move(e->globalPosition().toPoint() - offset_);
            e->accept();
            return true;
        }
        case QEvent::MouseButtonRelease:
            dragging_ = false;
            return false;
        default:
            return false;
    }
}

}  // namespace vt::widgets
