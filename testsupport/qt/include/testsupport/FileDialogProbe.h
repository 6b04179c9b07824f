#pragma once
// For tests of file dialogs: when a shown dialog has looked at the folder it
// starts in.

class QFileDialog;

namespace vt::test {

// True once the dialog's model has named every entry it shows in its
// folder (and shows at least one): by then it has asked about every file
// there, hidden ones included, since a small folder's list arrives in one
// piece.
bool ListedItsFolder(const QFileDialog& dialog);

}  // namespace vt::test
