#include "SoundFileDialog.h"

#include <QDir>
#include <QFileDialog>

#include "widgets/FileDialogs.h"

namespace vantelo::pages {

using vt::widgets::FileDialogs;

std::unique_ptr<QFileDialog> SoundFileDialog::Create(QWidget* parent) {
    FileDialogs::Request request(FileDialogs::Kind::OpenFile, QStringLiteral("Open File"));
    request.filters = QStringList{QStringLiteral("Sound Files(*.wav;*.vrc) (*.wav *.vrc)")};
    auto dialog = FileDialogs::Create(parent, request);
    dialog->setObjectName(QStringLiteral("SoundFileDialog"));
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
