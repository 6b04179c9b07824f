#include "testsupport/FileDialogProbe.h"

#include <QFileDialog>
#include <QFileSystemModel>

namespace vt::test {

bool ListedItsFolder(const QFileDialog& dialog) {
    const auto* model = dialog.findChild<QFileSystemModel*>();
    if (!model)
        return false;
    const QModelIndex root = model->index(model->rootPath());
    const int rows = model->rowCount(root);
    for (int r = 0; r < rows; ++r)
        if (model->type(model->index(r, 0, root)).isEmpty())
            return false;
    return rows > 0;
}

}  // namespace vt::test
