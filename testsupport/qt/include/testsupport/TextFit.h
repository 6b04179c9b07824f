#pragma once
// Whether a window's texts fit their controls: what a translation that is
// longer than the source would cut off.

#include <QStringList>

class QWidget;

namespace vt::test {

// The texts of the labels, buttons and (the choice a fixed list shows)
// combo boxes under `root` that are shown with it
// and need more room than their controls have (a word-wrapped label: more
// height; any other: more width), each with its need and its room. `checked`
// (if given) counts the texts looked at.
QStringList TextsThatDoNotFit(QWidget& root, int* checked = nullptr);

}  // namespace vt::test
