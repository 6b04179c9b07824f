#include "vantelo/pages/SoundFileDialog.h"

#include <QDir>
#include <QFileDialog>

namespace vantelo::pages {

std::unique_ptr<QFileDialog> SoundFileDialog::Create(QWidget* parent) {
    // Qt's own dialog: the same on every desktop.
    auto dialog = std::make_unique<QFileDialog>(
        parent, QStringLiteral("Open File"), QDir::currentPath(),
        QStringLiteral("Sound Files(*.wav;*.vrc) (*.wav *.vrc)"));
    dialog->setObjectName(QStringLiteral("SoundFileDialog"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    return dialog;
}

QString SoundFileDialog::ChosenPath(const QFileDialog& dialog) {
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return {};
    return QDir::toNativeSeparators(QFileInfo(files.front()).absoluteFilePath());
}

QString SoundFileDialog::Choose(QWidget* parent) {
    const auto dialog = Create(parent);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return ChosenPath(*dialog);
}

}  // namespace vantelo::pages
