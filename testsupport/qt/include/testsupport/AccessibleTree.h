#pragma once
// What assistive technology finds in a window, read through Qt's
// accessibility interfaces (the same ones the desktop's bridge serves).
// The change events themselves flow only to a live bridge; the test on the
// desktop's accessibility bus hears them.

#include <QAccessible>
#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace vt::test {

// Every focusable control under `window` (shown or not) whose accessible
// name is empty, described by its role, class and place for the failure
// message. The rows and cells of tables and lists are data, not controls.
QStringList UnnamedFocusable(QWidget& window);

// The first control under `window` with this name and role; null if none.
QAccessibleInterface* FindAccessible(QWidget& window, const QString& name, QAccessible::Role role);

// The widgets that Tab visits from `start` (which has the focus) until the
// focus comes back to a widget seen before, at most `limit` presses.
std::vector<QWidget*> TabVisits(QWidget& start, int limit = 200);

}  // namespace vt::test
