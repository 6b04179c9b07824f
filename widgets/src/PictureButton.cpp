#include "widgets/PictureButton.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>

#include "AccessibleFactory.h"

namespace vt::widgets {

namespace {

bool IsPressKey(const QKeyEvent& e) {
    const auto m = e.modifiers() & ~Qt::KeypadModifier;
    if (m != Qt::NoModifier)
        return false;
    return e.key() == Qt::Key_Space || e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter;
}

}  // namespace

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    InstallAccessibleFactory();
    // Tab only: a click keeps the focus where the user typed.
    setFocusPolicy(Qt::TabFocus);
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

void PictureButton::SetKind(Kind kind) {
    kind_ = kind;
}

void PictureButton::SetOn(bool on) {
    if (on == on_)
        return;
    on_ = on;
    QAccessible::State changed;
    if (kind_ == Kind::PageTab)
        changed.selected = true;
    else
        changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void PictureButton::SetKeyHint(const QString& key) {
    keyHint_ = key;
}

QString PictureButton::ShownToolTip() const {
    if (keyHint_.isEmpty())
        return toolTip();
    if (toolTip().isEmpty())
        return keyHint_;
    return toolTip() + QLatin1Char('\n') + keyHint_;
}

QSize PictureButton::sizeHint() const {
    return normal_.isNull() ? QSize(16, 16) : normal_.size();
}

bool PictureButton::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && !keyHint_.isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), ShownToolTip(), this);
        return true;
    }
    return QAbstractButton::event(e);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, CurrentPicture());
    if (!hasFocus())
        return;
    // A light and a dark dotted frame: visible on any part of the skin.
    const QRect frame = rect().adjusted(1, 1, -2, -2);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(frame);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(frame);
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

// Space and Enter press the focused button; every other key belongs to the
// window (its digits, Enter and Escape rules).
void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (!IsPressKey(*event))
        return QWidget::keyPressEvent(event);
    event->accept();
    if (!event->isAutoRepeat() && isEnabled())
        click();
}

void PictureButton::keyReleaseEvent(QKeyEvent* event) {
    if (IsPressKey(*event))
        return event->accept();
    QWidget::keyReleaseEvent(event);
}

}  // namespace vt::widgets
