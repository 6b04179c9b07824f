#pragma once
// Icons and type names for a file dialog's model, decided by the file's name.
// Qt's providers ask the MIME database about the file itself, which opens and
// reads it whenever its name says too little (VanteloDB1.db-wal, files
// without an extension); a process that closes such a descriptor loses its
// locks on the file.

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace vt::widgets {

class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QMimeType TypeByName(const QFileInfo& info) const;

    QMimeDatabase mimes_;
};

}  // namespace vt::widgets
