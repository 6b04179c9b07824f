#pragma once
// What a grid asks its owner for: the text of a cell, and which record a
// row stands for. The grid asks only for the rows it shows, so the owner
// can keep a whole record set behind it without reading it.

#include <QString>

namespace vt::widgets {

class GridSource {
public:
    virtual ~GridSource() = default;

    virtual QString CellText(int row, int column) = 0;
    // The record position a row shows (a page may list its records in
    // reverse); the double-click notification carries it.
    virtual long RecordPosition(int row) { return row; }
};

}  // namespace vt::widgets
