#include "testsupport/AccessibleTree.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <functional>
#include <set>

namespace vt::test {

namespace {

bool HoldsData(QAccessible::Role role) {
    return role == QAccessible::Table || role == QAccessible::Tree || role == QAccessible::List ||
           role == QAccessible::ComboBox;
}

QString Describe(QAccessibleInterface* iface) {
    QString where;
    for (QAccessibleInterface* i = iface; i; i = i->parent()) {
        QObject* o = i->object();
        where = QStringLiteral("/%1(%2)").arg(
                    o ? QString::fromLatin1(o->metaObject()->className()) : QString(),
                    o ? o->objectName() : QString()) +
                where;
        if (o && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow())
            break;
    }
    return QStringLiteral("role 0x%1 at %2").arg(int(iface->role()), 0, 16).arg(where);
}

void Walk(QAccessibleInterface* iface, const std::function<bool(QAccessibleInterface*)>& visit) {
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child || !child->isValid())
            continue;
        if (!visit(child))
            return;
        if (!HoldsData(child->role()))
            Walk(child, visit);
    }
}

}  // namespace

QStringList UnnamedFocusable(QWidget& window) {
    QStringList unnamed;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    if (!root)
        return {QStringLiteral("no accessible interface for the window")};
    Walk(root, [&](QAccessibleInterface* i) {
        if (i->state().focusable && i->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << Describe(i);
        return true;
    });
    return unnamed;
}

QAccessibleInterface* FindAccessible(QWidget& window, const QString& name, QAccessible::Role role) {
    QAccessibleInterface* found = nullptr;
    Walk(QAccessible::queryAccessibleInterface(&window), [&](QAccessibleInterface* i) {
        if (i->role() == role && i->text(QAccessible::Name) == name)
            found = i;
        return found == nullptr;
    });
    return found;
}

std::vector<QWidget*> TabVisits(QWidget& start, int limit) {
    std::vector<QWidget*> visits;
    std::set<QWidget*> seen{&start};
    for (int i = 0; i < limit; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (!focus)
            break;
        QTest::keyClick(focus, Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        if (!next || !seen.insert(next).second)
            break;
        visits.push_back(next);
    }
    return visits;
}

}  // namespace vt::test
