#include "widgets/SkinSlider.h"

#include <QPainter>
#include <QStyleOptionSlider>

namespace vt::widgets {

SkinSlider::SkinSlider(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setTickPosition(QSlider::NoTicks);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderNoAction)
            return;
        // setSliderPosition from code also "moves"; only a held handle is the user.
        if (action == QAbstractSlider::SliderMove && !isSliderDown())
            return;
        // The position already holds the action's result; the value not yet.
        emit Scrolled(sliderPosition(), false);
        if (action != QAbstractSlider::SliderMove)
            emit Scrolled(sliderPosition(), true);
    });
    connect(this, &QAbstractSlider::sliderReleased, this,
            [this] { emit Scrolled(sliderPosition(), true); });
}

void SkinSlider::SetColours(const QColor& groove, const QColor& handle) {
    groove_ = groove;
    handle_ = handle;
    update();
}

QRect SkinSlider::HandleRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

void SkinSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect r = rect();
    const QColor groove = isEnabled() ? groove_ : groove_.lighter(160);
    painter.setPen(QPen(groove, 2));
    if (orientation() == Qt::Horizontal)
        painter.drawLine(QPointF(r.left() + 3, r.center().y() + 0.5),
                         QPointF(r.right() - 3, r.center().y() + 0.5));
    else
        painter.drawLine(QPointF(r.center().x() + 0.5, r.top() + 3),
                         QPointF(r.center().x() + 0.5, r.bottom() - 3));
    QRect handle = HandleRect();
    if (orientation() == Qt::Horizontal)
        handle = QRect(handle.center().x() - 3, r.top() + 2, 7, r.height() - 4);
    else
        handle = QRect(r.left() + 2, handle.center().y() - 3, r.width() - 4, 7);
    painter.setPen(QPen(handle_.darker(140), 1));
    painter.setBrush(isEnabled() ? handle_ : handle_.lighter(170));
    painter.drawRoundedRect(handle, 2, 2);
}

}  // namespace vt::widgets
