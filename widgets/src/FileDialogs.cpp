#include "widgets/FileDialogs.h"

#include <QDir>
#include <QFileDialog>

#include "NameOnlyIconProvider.h"

namespace vt::widgets {

QAbstractFileIconProvider* FileDialogs::IconProvider() {
    // One for the whole process, never destroyed: a dialog may outlive any
    // owner we could give it, and the provider holds nothing but a handle.
    static auto* const provider = new NameOnlyIconProvider;
    return provider;
}

std::unique_ptr<QFileDialog> FileDialogs::Create(QWidget* parent, const Request& request) {
    // The model lists its first folder on a thread of its own and asks the
    // provider on this one when the list arrives, so the provider set right
    // below is the one that sees every file.
    auto dialog = std::make_unique<QFileDialog>(parent, request.caption);
    // Qt's own dialog on every desktop: a desktop's dialog (and its previews)
    // reads the files it shows, inside our process.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setIconProvider(IconProvider());
    switch (request.kind) {
        case Kind::OpenFile:
            dialog->setAcceptMode(QFileDialog::AcceptOpen);
            dialog->setFileMode(QFileDialog::ExistingFile);
            break;
        case Kind::SaveFile:
            dialog->setAcceptMode(QFileDialog::AcceptSave);
            dialog->setFileMode(QFileDialog::AnyFile);
            break;
        case Kind::Folder:
            dialog->setAcceptMode(QFileDialog::AcceptOpen);
            dialog->setFileMode(QFileDialog::Directory);
            dialog->setOption(QFileDialog::ShowDirsOnly);
            break;
    }
    if (!request.filters.isEmpty()) {
        dialog->setNameFilters(request.filters);
        dialog->selectNameFilter(request.filters.front());
    }
    dialog->setDefaultSuffix(request.defaultSuffix);
    // Always a folder of our choosing: Qt would otherwise start in the folder
    // of whatever dialog was used last.
    dialog->setDirectory(request.folder.isEmpty() ? QDir::currentPath() : request.folder);
    if (!request.fileName.isEmpty())
        dialog->selectFile(request.fileName);
    return dialog;
}

QString FileDialogs::Choose(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

QString FileDialogs::Choose(QWidget* parent, const Request& request) {
    const auto dialog = Create(parent, request);
    return Choose(*dialog);
}

}  // namespace vt::widgets
