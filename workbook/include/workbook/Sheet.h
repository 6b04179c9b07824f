#pragma once
// One worksheet read into memory: each cell's value as the text the
// spreadsheet application shows for it, and the sheet's used range.
// Rows and columns are numbered from 1, as the application numbers them.

#include <string>
#include <vector>

namespace workbook {

// The rectangle that holds every cell with a value. An empty sheet reports
// the single cell A1, as the application does.
struct UsedRange {
    int row = 1;
    int column = 1;
    int rows = 1;
    int columns = 1;

    int LastRow() const { return row + rows - 1; }
    int LastColumn() const { return column + columns - 1; }
};

// How a cell is formatted, as far as the converter cares.
struct CellStyle {
    bool bold = false;
    bool text = false;  // number format "@"
};

class Sheet {
public:
    // The largest sheet of the newer file format.
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;

    explicit Sheet(std::string name = {}) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    UsedRange Used() const;

    // The cell's text; empty for an empty cell or one outside the sheet.
    const std::string& Text(int row, int column) const;
    CellStyle Style(int row, int column) const;

    // For the readers. An empty text leaves the cell empty. False for a
    // position outside the sheet's limits.
    bool SetText(int row, int column, std::string text);
    bool SetStyle(int row, int column, CellStyle style);

private:
    struct Row {
        std::vector<std::string> texts;
        std::vector<CellStyle> styles;
    };

    std::string name_;
    std::vector<Row> rows_;                                              // index row - 1
    int firstRow_ = 0, lastRow_ = 0, firstColumn_ = 0, lastColumn_ = 0;  // 0: no value yet
};

}  // namespace workbook
