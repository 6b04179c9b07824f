#include "AccessibleFactory.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

#include "PictureButtonAccessible.h"
#include "TransparentLabelAccessible.h"
#include "widgets/AccessibleRole.h"
#include "widgets/PictureButton.h"
#include "widgets/TransparentLabel.h"

namespace vt::widgets {

namespace {

constexpr const char* kRoleProperty = "vtAccessibleRole";

// Qt asks with each class name from the most derived one up, so a skinned
// button (a PictureButton) is found here before Qt's own QAbstractButton.
QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String(PictureButton::staticMetaObject.className()))
        return new PictureButtonAccessible(static_cast<PictureButton*>(object));
    if (className == QLatin1String(TransparentLabel::staticMetaObject.className()))
        return new TransparentLabelAccessible(static_cast<TransparentLabel*>(object));
    if (className == QLatin1String("QWidget") && object->isWidgetType()) {
        const QVariant role = object->property(kRoleProperty);
        if (role.isValid())
            return new QAccessibleWidget(static_cast<QWidget*>(object),
                                         static_cast<QAccessible::Role>(role.toInt()));
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

}  // namespace vt::widgets

namespace vt::widgets {

void SetAccessibleRole(QWidget& widget, QAccessible::Role role) {
    InstallAccessibleFactory();
    widget.setProperty(kRoleProperty, static_cast<int>(role));
}

}  // namespace vt::widgets
