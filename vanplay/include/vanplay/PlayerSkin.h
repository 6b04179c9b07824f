#pragma once
// The player's pictures, painted by the program at start and keyed by
// their resource ids: the 477 x 150 window skin (130), the button pictures
// (131-145, magenta where the skin is to show through) and the program
// icon (128).

#include <QRect>

#include "widgets/SkinImages.h"

namespace vanplay {

class PlayerSkin {
public:
    // Paints every picture into `skin`.
    static void PaintAll(vt::widgets::SkinImages& skin);

    // Where a control sits in the window, in pixels (the dialog layout at
    // the usual 8 x 16 base units); an empty rectangle for an unknown id.
    static QRect ControlRect(int id);

    static constexpr int kWindowWidth = 476;
    static constexpr int kWindowHeight = 150;
    // Presses above this line move the window.
    static constexpr int kDragLimitY = 70;
};

}  // namespace vanplay
