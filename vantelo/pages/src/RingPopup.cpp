#include "RingPopup.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "AccessibleNames.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/AccessibleRole.h"
#include "widgets/QtTimerHost.h"

namespace vantelo::pages {

RingPopup::RingPopup(vt::MessageWindow* target, vt::TimerHost* timers)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      target_(target),
      timers_(timers) {
    if (!timers_)
        timers_ = ownTimers_ = new vt::widgets::QtTimerHost(this, this);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Vantelo"));
    // A screen reader speaks an alert as it appears.
    vt::widgets::SetAccessibleRole(*this, QAccessible::AlertMessage);
    setAccessibleDescription(AccessibleNames::RingPopup());
}

RingPopup::~RingPopup() {
    timers_->Stop(kTimerGrow);
    timers_->Stop(kTimerShrink);
}

QRect RingPopup::FullGeometry(const QRect& workArea) {
    const int right = workArea.x() + workArea.width() - 10;
    const int bottom = workArea.y() + workArea.height();
    return QRect(right - kWidth, bottom - kHeight, kWidth, kHeight);
}

void RingPopup::Open(const QString& text) {
    text_ = text;
    QScreen* screen = QGuiApplication::primaryScreen();
    full_ = FullGeometry(screen ? screen->availableGeometry() : QRect(0, 0, 800, 600));
    closing_ = false;
    height_ = kStep;
    ApplyHeight();
    setAccessibleName(text);
    show();
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    timers_->Start(kTimerGrow, kGrowMs);
}

void RingPopup::SetText(const QString& text) {
    text_ = text;
    setAccessibleName(text);
    repaint();
}

void RingPopup::Close() {
    if (closing_)
        return;
    closing_ = true;
    timers_->Stop(kTimerGrow);
    shrinkMs_ = kGrowMs;
    timers_->Start(kTimerShrink, shrinkMs_);
}

void RingPopup::OnTimer(int id) {
    if (id == kTimerGrow) {
        height_ = std::min(kHeight, height_ + kStep);
        ApplyHeight();
        if (height_ >= kHeight)
            timers_->Stop(kTimerGrow);
        return;
    }
    if (id != kTimerShrink)
        return;
    height_ -= kStep;
    if (height_ <= 0) {
        height_ = 0;
        timers_->Stop(kTimerShrink);
        hide();
        emit Closed();
        return;
    }
    ApplyHeight();
    // Each pause is a millisecond shorter than the one before.
    shrinkMs_ = shrinkMs_ > 1 ? shrinkMs_ - 1 : 1;
    timers_->Start(kTimerShrink, shrinkMs_);
}

void RingPopup::ApplyHeight() {
    setGeometry(full_.x(), full_.bottom() + 1 - height_, kWidth, height_);
}

void RingPopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    QLinearGradient g(0, 0, 0, r.height());
    g.setColorAt(0.0, QColor(22, 47, 99));
    g.setColorAt(0.5, QColor(149, 168, 194));
    g.setColorAt(1.0, QColor(22, 47, 99));
    p.fillRect(r, g);
    // Sunken edge: dark above and left, light below and right.
    p.setPen(QColor(64, 64, 64));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QColor(255, 255, 255));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    // Arial Black where installed; otherwise a heavy Korean face rather than
    // the desktop's stand-in for the name.
    const QString arialBlack = QStringLiteral("Arial Black");
    QFont font(QFontDatabase::hasFamily(arialBlack) ? arialBlack : QStringLiteral("NanumSquare"));
    font.setFamilies({font.family(), QStringLiteral("NanumSquare"), QStringLiteral("NanumGothic")});
    font.setPixelSize(16);
    font.setWeight(QFont::ExtraBold);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r.adjusted(4, 2, -4, -2), Qt::AlignCenter | Qt::TextWordWrap, text_);
}

void RingPopup::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !clicked_) {
        clicked_ = true;
        if (target_)
            target_->Post(kPopupClicked, 0, 0);
    }
    event->accept();
}

}  // namespace vantelo::pages
