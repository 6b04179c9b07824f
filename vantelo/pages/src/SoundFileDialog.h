#pragma once
// The file dialog of the phone window for a sound file (the Play button's
// file and the settings page's greeting): "Open File", WAV and VRC files,
// the chosen file must exist, starting in the current folder.

#include <QString>
#include <memory>

class QFileDialog;
class QWidget;

namespace vantelo::pages {

class SoundFileDialog {
public:
    // The chosen file's full path, or an empty text when cancelled.
    static QString Choose(QWidget* parent);
    // The dialog as Choose shows it, not yet shown (tests open it without
    // a modal loop of its own).
    static std::unique_ptr<QFileDialog> Create(QWidget* parent);
    // The accepted dialog's file as a full path.
    static QString ChosenPath(const QFileDialog& dialog);
};

}  // namespace vantelo::pages
