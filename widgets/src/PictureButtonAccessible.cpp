#include "PictureButtonAccessible.h"

#include "widgets/PictureButton.h"

namespace vt::widgets {

PictureButtonAccessible::PictureButtonAccessible(PictureButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

PictureButton* PictureButtonAccessible::Button() const {
    return static_cast<PictureButton*>(widget());
}

QAccessible::Role PictureButtonAccessible::role() const {
    switch (Button()->GetKind()) {
        case PictureButton::Kind::Toggle:
            return QAccessible::CheckBox;
        case PictureButton::Kind::PageTab:
            return QAccessible::PageTab;
        case PictureButton::Kind::Push:
            break;
    }
    return QAccessible::Button;
}

QAccessible::State PictureButtonAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    PictureButton* b = Button();
    s.pressed = b->isDown();
    switch (b->GetKind()) {
        case PictureButton::Kind::Toggle:
            s.checkable = true;
            s.checked = b->On();
            break;
        case PictureButton::Kind::PageTab:
            s.selectable = true;
            s.selected = b->On();
            break;
        case PictureButton::Kind::Push:
            break;
    }
    return s;
}

QString PictureButtonAccessible::text(QAccessible::Text t) const {
    PictureButton* b = Button();
    switch (t) {
        case QAccessible::Name:
            return b->accessibleName().isEmpty() ? b->text() : b->accessibleName();
        case QAccessible::Description:
            return b->accessibleDescription().isEmpty() ? b->ShownToolTip()
                                                        : b->accessibleDescription();
        case QAccessible::Accelerator:
            return b->KeyHint();
        default:
            return QAccessibleWidget::text(t);
    }
}

QStringList PictureButtonAccessible::actionNames() const {
    QStringList names;
    if (widget()->isEnabled())
        names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void PictureButtonAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        if (widget()->isEnabled())
            Button()->click();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QStringList PictureButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction() && !Button()->KeyHint().isEmpty())
        return {Button()->KeyHint()};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

}  // namespace vt::widgets
