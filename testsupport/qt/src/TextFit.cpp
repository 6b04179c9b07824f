#include "testsupport/TextFit.h"

#include <QAbstractButton>
#include <QLabel>

namespace vt::test {

QStringList TextsThatDoNotFit(QWidget& root, int* checked) {
    root.ensurePolished();
    QStringList cut;
    for (QWidget* w : root.findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        if (text.isEmpty() || !w->isVisibleTo(&root))
            continue;
        if (checked)
            ++*checked;
        const auto* label = qobject_cast<QLabel*>(w);
        const bool wraps = label && label->wordWrap();
        const int need = wraps ? label->heightForWidth(w->width()) : w->sizeHint().width();
        const int room = wraps ? w->height() : w->width();
        if (need > room)
            cut << QStringLiteral("%1 (needs %2, has %3)").arg(text).arg(need).arg(room);
    }
    return cut;
}

}  // namespace vt::test
