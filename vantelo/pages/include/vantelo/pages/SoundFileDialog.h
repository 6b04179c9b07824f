#pragma once
// The file dialog of the phone window for a sound file (the Play button's
// file and the settings page's greeting): "Open File", WAV and VRC files,
// the chosen file must exist, starting in the current folder.

#include <QString>

class QWidget;

namespace vantelo::pages {

class SoundFileDialog {
public:
    // The chosen file's full path, or an empty text when cancelled.
    static QString Choose(QWidget* parent);
};

}  // namespace vantelo::pages
