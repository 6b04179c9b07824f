#include "vantelo/pages/SoundFileDialog.h"

#include <QDir>
#include <QFileDialog>

namespace vantelo::pages {

QString SoundFileDialog::Choose(QWidget* parent) {
    // Qt's own dialog: the same on every desktop, and one a test can drive.
    QFileDialog dialog(parent, QStringLiteral("Open File"), QDir::currentPath(),
                       QStringLiteral("Sound Files(*.wav;*.vrc) (*.wav *.vrc)"));
    dialog.setObjectName(QStringLiteral("SoundFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(QFileInfo(dialog.selectedFiles().front()).absoluteFilePath());
}

}  // namespace vantelo::pages
