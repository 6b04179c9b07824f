#include "widgets/TransparentLabel.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QPainter>

#include "AccessibleFactory.h"

namespace vt::widgets {

TransparentLabel::TransparentLabel(QWidget* parent) : QWidget(parent) {
    InstallAccessibleFactory();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(false);
}

bool TransparentLabel::SetText(const QString& text) {
    if (text == text_)
        return false;
    text_ = text;
    update();
    // A screen reader follows the status and time as they change.
    if (accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    return true;
}

void TransparentLabel::SetTextColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void TransparentLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(colour_);
    // Some status texts begin with spaces; keep them, and keep one line.
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
}

QFont FixedsysFont(int pointSize) {
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("NanumGothicCoding")))
        font.setFamily(QStringLiteral("NanumGothicCoding"));
    else
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setBold(true);
    font.setPointSize(pointSize);
    return font;
}

}  // namespace vt::widgets
