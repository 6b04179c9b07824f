#pragma once
// What assistive technology sees of a picture button: its role by kind,
// its name, its tool tip and key as description, its pressed / checked /
// selected state, and one action, "press", that clicks it.

#include <QAccessibleWidget>

namespace vt::widgets {

class PictureButton;

class PictureButtonAccessible : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(PictureButton* button);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    // QAccessibleActionInterface
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    PictureButton* Button() const;
};

}  // namespace vt::widgets
