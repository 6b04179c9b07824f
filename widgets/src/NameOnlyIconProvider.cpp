#include "NameOnlyIconProvider.h"

namespace vt::widgets {

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    // The platform's file icons are not asked either: some of them read the
    // file too.
    if (info.isRoot())
        return icon(Drive);
    if (info.isDir())
        return icon(Folder);
    if (!info.isFile())
        return icon(File);
    const QMimeType type = TypeByName(info);
    return QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), icon(File)));
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    // Qt names everything but a file without looking inside.
    if (!info.isFile())
        return QFileIconProvider::type(info);
    const QMimeType type = TypeByName(info);
    return type.comment().isEmpty() ? type.name() : type.comment();
}

QMimeType NameOnlyIconProvider::TypeByName(const QFileInfo& info) const {
    // The name as a text: the file-information overload looks at the file.
    return mimes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
}

}  // namespace vt::widgets
