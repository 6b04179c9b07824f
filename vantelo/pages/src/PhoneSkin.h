#pragma once
// The phone window's pictures, painted by the program at start from the
// layout tables and keyed by their resource ids: the window shape (magenta
// outside), the three main images and their lit and selected-page variants,
// the indicator pictures, the page images and the program icon.

#include <QColor>
#include <QFont>

class QWidget;

#include "widgets/SkinButton.h"
#include "widgets/SkinImages.h"

namespace vantelo::pages {

struct Place;

class PhoneSkin {
public:
    static void PaintAll(vt::widgets::SkinImages& skin);

    // The triple of images whose first id is `normal` (normal, pressed, hover).
    static vt::widgets::SkinTriple Triple(const vt::widgets::SkinImages& skin, int normal,
                                          int pressed, int hover);
    // A skinned button of a layout table on `parent`: at its place, showing
    // that part of `images`, with its tool tip (if it has one).
    static vt::widgets::SkinButton* Button(QWidget* parent, const Place& place,
                                           const vt::widgets::SkinTriple& images);

    // The Korean faces of the skin: Nanum fonts where installed.
    static QFont LabelFont(int pixelSize, bool bold = false);
    // The font a label of the main window's buttons is painted in.
    static QFont ButtonFont(const Place& button);
    // The pages' light panel colour, for windows opened from a page.
    static QColor PanelColour();
};

}  // namespace vantelo::pages
