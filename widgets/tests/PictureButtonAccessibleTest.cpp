#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QTest>

#include "testsupport/AccessibleTree.h"
#include "widgets/AccessibleRole.h"
#include "widgets/PictureButton.h"
#include "widgets/TransparentLabel.h"

using vt::widgets::PictureButton;
using vt::widgets::TransparentLabel;

namespace {

QAccessibleInterface* Of(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

TEST(PictureButtonAccessible, RoleAndStateFollowTheKind) {
    struct Case {
        PictureButton::Kind kind;
        QAccessible::Role role;
        bool on;
        bool checked;
        bool selected;
    };
    const Case cases[] = {
        {PictureButton::Kind::Push, QAccessible::Button, true, false, false},
        {PictureButton::Kind::Toggle, QAccessible::CheckBox, false, false, false},
        {PictureButton::Kind::Toggle, QAccessible::CheckBox, true, true, false},
        {PictureButton::Kind::PageTab, QAccessible::PageTab, true, false, true},
    };
    for (const Case& c : cases) {
        QWidget window;
        auto* button = new PictureButton(&window);
        button->SetKind(c.kind);
        button->setAccessibleName("녹음");
        button->SetOn(c.on);
        QAccessibleInterface* iface = Of(button);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), c.role);
        EXPECT_EQ(iface->text(QAccessible::Name), "녹음");
        const QAccessible::State s = iface->state();
        EXPECT_TRUE(s.focusable);
        EXPECT_EQ(bool(s.checked), c.checked) << int(c.role);
        EXPECT_EQ(bool(s.selected), c.selected) << int(c.role);
        EXPECT_EQ(bool(s.checkable), c.kind == PictureButton::Kind::Toggle);
    }
}

TEST(PictureButtonAccessible, StateFollowsEachChange) {
    QWidget window;
    auto* button = new PictureButton(&window);
    button->SetKind(PictureButton::Kind::Toggle);
    QAccessibleInterface* iface = Of(button);
    for (bool on : {true, false, true}) {
        button->SetOn(on);
        EXPECT_EQ(bool(iface->state().checked), on);
    }
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(iface->state().pressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(iface->state().pressed);
}

TEST(PictureButtonAccessible, PressActionClicksAndTheKeyIsItsBinding) {
    QWidget window;
    auto* button = new PictureButton(&window);
    button->setToolTip("Hook Off");
    button->SetKeyHint("F5");
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QAccessibleActionInterface* actions = Of(button)->actionInterface();
    ASSERT_NE(actions, nullptr);
    const QString press = QAccessibleActionInterface::pressAction();
    ASSERT_TRUE(actions->actionNames().contains(press));
    EXPECT_EQ(actions->keyBindingsForAction(press), QStringList{"F5"});
    EXPECT_EQ(Of(button)->text(QAccessible::Description), "Hook Off\nF5");
    actions->doAction(press);
    EXPECT_EQ(clicked.count(), 1);

    button->setEnabled(false);
    EXPECT_FALSE(actions->actionNames().contains(press));
    actions->doAction(press);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(TransparentLabelAccessible, ReadsAsALabelNamedByItsText) {
    QWidget window;
    auto* label = new TransparentLabel(&window);
    label->SetText("    00m : 00s");
    QAccessibleInterface* iface = Of(label);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::StaticText);
    EXPECT_EQ(iface->text(QAccessible::Name), "00m : 00s");
    label->SetText("    00m : 01s");
    EXPECT_EQ(iface->text(QAccessible::Name), "00m : 01s");
    label->setAccessibleName("재생 시간");
    EXPECT_EQ(iface->text(QAccessible::Name), "재생 시간");
}

TEST(PictureButtonAccessible, AnUnnamedButtonIsFoundUntilNamed) {
    QWidget window;
    auto* button = new PictureButton(&window);
    button->hide();  // hidden controls count too: their page may show later
    EXPECT_EQ(vt::test::UnnamedFocusable(window).size(), 1);
    button->setAccessibleName("통화");
    EXPECT_EQ(vt::test::UnnamedFocusable(window), QStringList());
    EXPECT_NE(vt::test::FindAccessible(window, "통화", QAccessible::Button), nullptr);
}

TEST(AccessibleRole, AGivenRoleReplacesThePlainPane) {
    QWidget plain;
    QWidget alert;
    vt::widgets::SetAccessibleRole(alert, QAccessible::AlertMessage);
    EXPECT_NE(Of(&plain)->role(), QAccessible::AlertMessage);
    EXPECT_EQ(Of(&alert)->role(), QAccessible::AlertMessage);
}

}  // namespace
