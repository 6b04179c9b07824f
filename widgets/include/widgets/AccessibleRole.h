#pragma once
// Gives a plain widget (one Qt would present as a bare pane) the role
// assistive technology should see, for example the ring pop-up as an alert.
// Call it before anything asks for the widget's accessible interface.

#include <QAccessible>

class QWidget;

namespace vt::widgets {

void SetAccessibleRole(QWidget& widget, QAccessible::Role role);

}  // namespace vt::widgets
