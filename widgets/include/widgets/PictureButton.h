#pragma once
// A push button drawn from pictures: the "hot" picture while the pointer is
// over it or while it is pressed, the normal picture otherwise. The mouse
// never gives it the keyboard focus (a click leaves the focus where it was);
// Tab does, and then Space or Enter press it and a focus frame shows. Other
// keys go on to its window (digits dial, Escape hides).
//
// For assistive technology it is a push button, a toggle (a check box whose
// state is the button's lit look) or a page tab (selected while its page is
// shown); its name is the widget's accessible name, its description the tool
// tip and the key that presses it from anywhere in the window.

#include <QAbstractButton>
#include <QPixmap>

namespace vt::widgets {

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Kind { Push, Toggle, PageTab };

    explicit PictureButton(QWidget* parent = nullptr);

    // `pressed` defaults to the hot picture.
    void SetPictures(QPixmap hot, QPixmap normal, QPixmap pressed = {});
    // The picture painted now (for tests and tools).
    const QPixmap& CurrentPicture() const;
    bool Hot() const { return hover_ || isDown(); }

    void SetKind(Kind kind);
    Kind GetKind() const { return kind_; }
    // The state a toggle or page tab tells: on (lit, selected) or off.
    // Assistive technology hears of each change.
    void SetOn(bool on);
    bool On() const { return on_; }
    // The key that presses the button from anywhere in its window ("F5"):
    // shown under the tool tip and told to assistive technology. The
    // button does not bind the key itself.
    void SetKeyHint(const QString& key);
    const QString& KeyHint() const { return keyHint_; }
    // The tool tip as shown: the button's own tip, then its key.
    QString ShownToolTip() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QPixmap hot_;
    QPixmap normal_;
    QPixmap pressed_;
    bool hover_ = false;
    Kind kind_ = Kind::Push;
    bool on_ = false;
    QString keyHint_;
};

}  // namespace vt::widgets
