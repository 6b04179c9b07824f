#pragma once
// A push button drawn from pictures: the "hot" picture while the pointer is
// over it or while it is pressed, the normal picture otherwise. It takes no
// keyboard focus, so Enter and Space never press it.

#include <QAbstractButton>
#include <QPixmap>

namespace vt::widgets {

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    // `pressed` defaults to the hot picture.
    void SetPictures(QPixmap hot, QPixmap normal, QPixmap pressed = {});
    // The picture painted now (for tests and tools).
    const QPixmap& CurrentPicture() const;
    bool Hot() const { return hover_ || isDown(); }

    QSize sizeHint() const override;

protected:
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
};

}  // namespace vt::widgets
