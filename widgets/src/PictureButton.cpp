#include "widgets/PictureButton.h"

#include <QEnterEvent>
#include <QPainter>

namespace vt::widgets {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void PictureButton::SetPictures(QPixmap hot, QPixmap normal, QPixmap pressed) {
    hot_ = std::move(hot);
    normal_ = std::move(normal);
    pressed_ = pressed.isNull() ? hot_ : std::move(pressed);
    update();
}

const QPixmap& PictureButton::CurrentPicture() const {
    if (isDown())
        return pressed_;
    return hover_ ? hot_ : normal_;
}

QSize PictureButton::sizeHint() const {
    return normal_.isNull() ? QSize(16, 16) : normal_.size();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, CurrentPicture());
}

void PictureButton::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace vt::widgets

namespace vt::widgets {

// Keys belong to the window (its Enter and Escape rules), never to a button.
void PictureButton::keyPressEvent(QKeyEvent* event) {
    QWidget::keyPressEvent(event);
}
void PictureButton::keyReleaseEvent(QKeyEvent* event) {
    QWidget::keyReleaseEvent(event);
}

}  // namespace vt::widgets
