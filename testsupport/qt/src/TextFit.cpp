#include "testsupport/TextFit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace vt::test {

QStringList TextsThatDoNotFit(QWidget& root, int* checked) {
    root.ensurePolished();
    QStringList cut;
    for (QWidget* w : root.findChildren<QWidget*>()) {
        QString text;
        auto* box = qobject_cast<QComboBox*>(w);
        if (auto* label = qobject_cast<QLabel*>(w))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        else if (box && !box->isEditable())
            text = box->currentText();
        if (text.isEmpty() || !w->isVisibleTo(&root))
            continue;
        if (checked)
            ++*checked;
        const auto* label = qobject_cast<QLabel*>(w);
        const bool wraps = label && label->wordWrap();
        int need = wraps ? label->heightForWidth(w->width()) : w->sizeHint().width();
        if (box) {  // the choice shown, beside the arrow
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.currentText = text;
            const QFontMetrics m = box->fontMetrics();
            need = box->style()
                       ->sizeFromContents(QStyle::CT_ComboBox, &option,
                                          QSize(m.horizontalAdvance(text), m.height()), box)
                       .width();
        }
        const int room = wraps ? w->height() : w->width();
        if (need > room)
            cut << QStringLiteral("%1 (needs %2, has %3)").arg(text).arg(need).arg(room);
    }
    return cut;
}

}  // namespace vt::test
