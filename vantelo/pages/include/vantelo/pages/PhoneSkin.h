#pragma once
// The phone window's pictures, painted by the program at start from the
// layout tables and keyed by their resource ids: the window shape (magenta
// outside), the three main images and their lit and selected-page variants,
// the indicator pictures, the page images and the program icon.

#include <QFont>

#include "widgets/SkinButton.h"
#include "widgets/SkinImages.h"

namespace vantelo::pages {

class PhoneSkin {
public:
    static void PaintAll(vt::widgets::SkinImages& skin);

    // The triple of images whose first id is `normal` (normal, pressed, hover).
    static vt::widgets::SkinTriple Triple(const vt::widgets::SkinImages& skin, int normal,
                                          int pressed, int hover);

    // The Korean faces of the skin: Nanum fonts where installed.
    static QFont LabelFont(int pixelSize, bool bold = false);
};

}  // namespace vantelo::pages
