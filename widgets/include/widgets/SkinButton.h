#pragma once
// The skinned bitmap button: it shows the part of three full-size images of
// its parent (normal, pressed, hover) that lies under it, so the parent's
// artist draws every button in place. Its look changes by giving it another
// image triple. The hover picture shows only while its window is active.

#include <QImage>
#include <QRect>

#include "widgets/PictureButton.h"

namespace vt::widgets {

struct SkinTriple {
    QImage normal;
    QImage pressed;
    QImage hover;
};

class SkinButton : public PictureButton {
    Q_OBJECT
public:
    explicit SkinButton(QWidget* parent = nullptr);

    // Moves the button; the same rectangle is cut from the images.
    void Place(const QRect& rect);
    void SetImages(const SkinTriple& images);

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    void Cut();

    SkinTriple images_;
};

}  // namespace vt::widgets
