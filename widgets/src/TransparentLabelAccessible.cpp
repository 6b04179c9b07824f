#include "TransparentLabelAccessible.h"

#include "widgets/TransparentLabel.h"

namespace vt::widgets {

TransparentLabelAccessible::TransparentLabelAccessible(TransparentLabel* label)
    : QAccessibleWidget(label, QAccessible::StaticText) {}

QString TransparentLabelAccessible::text(QAccessible::Text t) const {
    auto* label = static_cast<TransparentLabel*>(widget());
    if (t == QAccessible::Name && label->accessibleName().isEmpty())
        return label->Text().trimmed();
    return QAccessibleWidget::text(t);
}

}  // namespace vt::widgets
