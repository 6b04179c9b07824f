#include "widgets/SkinButton.h"

#include <QEnterEvent>

namespace vt::widgets {

SkinButton::SkinButton(QWidget* parent) : PictureButton(parent) {}

void SkinButton::Place(const QRect& rect) {
    setGeometry(rect);
    Cut();
}

void SkinButton::SetImages(const SkinTriple& images) {
    images_ = images;
    Cut();
}

void SkinButton::Cut() {
    const QRect r = geometry();
    if (images_.normal.isNull() || r.isEmpty())
        return;
    auto cut = [&](const QImage& image) {
        return QPixmap::fromImage(image.isNull() ? images_.normal.copy(r) : image.copy(r));
    };
    SetPictures(cut(images_.hover), cut(images_.normal), cut(images_.pressed));
}

void SkinButton::enterEvent(QEnterEvent* event) {
    // A window in the background does not light its buttons.
    if (window()->isActiveWindow())
        PictureButton::enterEvent(event);
    else
        QAbstractButton::enterEvent(event);
}

}  // namespace vt::widgets
