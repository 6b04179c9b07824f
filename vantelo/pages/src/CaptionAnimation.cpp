#include "CaptionAnimation.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPauseAnimation>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>

namespace vantelo::pages {

CaptionAnimation::CaptionAnimation()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
}

CaptionAnimation* CaptionAnimation::Start(const QRect& from, const QRect& to, bool pauseFirst) {
    auto* bar = new CaptionAnimation;
    // A caption, not the whole window: the top strip of the rectangle.
    auto caption = [](const QRect& r) { return QRect(r.x(), r.y(), r.width(), 20); };
    bar->setGeometry(caption(from));
    auto* group = new QSequentialAnimationGroup(bar);
    auto* flight = new QPropertyAnimation(bar, "geometry", group);
    flight->setDuration(kFlightMs);
    flight->setStartValue(caption(from));
    flight->setEndValue(caption(to));
    auto* pause = new QPauseAnimation(kPauseMs, group);
    if (pauseFirst) {
        group->addAnimation(pause);
        group->addAnimation(flight);
        connect(pause, &QAbstractAnimation::finished, bar, &QWidget::show);
    } else {
        group->addAnimation(flight);
        group->addAnimation(pause);
        bar->show();
        connect(flight, &QAbstractAnimation::finished, bar, &QWidget::hide);
    }
    connect(group, &QAbstractAnimation::finished, bar, [bar] {
        emit bar->Finished();
        bar->close();
    });
    group->start();
    return bar;
}

void CaptionAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0.0, QColor(0, 120, 140));
    g.setColorAt(1.0, QColor(120, 200, 210));
    p.fillRect(rect(), g);
}

}  // namespace vantelo::pages
