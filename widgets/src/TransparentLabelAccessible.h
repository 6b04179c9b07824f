#pragma once
// A transparent label is read as a label whose name is its text (unless it
// was given a fixed accessible name).

#include <QAccessibleWidget>

namespace vt::widgets {

class TransparentLabel;

class TransparentLabelAccessible : public QAccessibleWidget {
public:
    explicit TransparentLabelAccessible(TransparentLabel* label);

    QString text(QAccessible::Text t) const override;
};

}  // namespace vt::widgets
