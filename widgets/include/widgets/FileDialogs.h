#pragma once
// Every file and folder dialog of our window programs is made here, so that
// browsing never opens a file. Closing any descriptor of a file ends every
// lock the process holds on it; a dialog that opened the database files to
// guess their type (as Qt's default icon provider and the desktops' own
// dialogs do) would silently drop the database's locks, and another program
// would then take itself for the last user and delete the write-ahead log
// under us. So the dialogs are Qt's own, and their icons and type names come
// from the file name alone.

#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

class QAbstractFileIconProvider;
class QFileDialog;
class QWidget;

namespace vt::widgets {

class FileDialogs {
public:
    enum class Kind {
        OpenFile,  // an existing file
        SaveFile,  // a file name to write; an existing file is confirmed first
        Folder,    // an existing folder
    };

    struct Request {
        Request(Kind kind, QString caption) : kind(kind), caption(std::move(caption)) {}

        Kind kind;
        QString caption;
        QString folder;         // where it starts; empty: the current folder
        QString fileName;       // the name offered at first; empty: none
        QStringList filters;    // name filters; the first is selected
        QString defaultSuffix;  // added to a name typed without one
    };

    // The dialog, not yet shown (callers may adjust it; tests open it
    // without a modal loop).
    static std::unique_ptr<QFileDialog> Create(QWidget* parent, const Request& request);

    // Shows the dialog modally: the chosen file or folder, empty when
    // cancelled.
    static QString Choose(QFileDialog& dialog);
    static QString Choose(QWidget* parent, const Request& request);

    // The icon provider of every dialog made here: icons and type names by
    // the file's name, never by its content.
    static QAbstractFileIconProvider* IconProvider();
};

}  // namespace vt::widgets
