#include "workbook/Sheet.h"

#include <algorithm>

namespace workbook {

namespace {

bool Inside(int row, int column) {
    return row >= 1 && row <= Sheet::kMaxRows && column >= 1 && column <= Sheet::kMaxColumns;
}

}  // namespace

UsedRange Sheet::Used() const {
    if (firstRow_ == 0)
        return {};
    return {firstRow_, firstColumn_, lastRow_ - firstRow_ + 1, lastColumn_ - firstColumn_ + 1};
}

const std::string& Sheet::Text(int row, int column) const {
    static const std::string kEmpty;
    if (!Inside(row, column) || row > static_cast<int>(rows_.size()))
        return kEmpty;
    const Row& r = rows_[row - 1];
    if (column > static_cast<int>(r.texts.size()))
        return kEmpty;
    return r.texts[column - 1];
}

CellStyle Sheet::Style(int row, int column) const {
    if (!Inside(row, column) || row > static_cast<int>(rows_.size()))
        return {};
    const Row& r = rows_[row - 1];
    if (column > static_cast<int>(r.styles.size()))
        return {};
    return r.styles[column - 1];
}

bool Sheet::SetText(int row, int column, std::string text) {
    if (!Inside(row, column))
        return false;
    if (text.empty())
        return true;
    if (row > static_cast<int>(rows_.size()))
        rows_.resize(row);
    Row& r = rows_[row - 1];
    if (column > static_cast<int>(r.texts.size()))
        r.texts.resize(column);
    r.texts[column - 1] = std::move(text);
    if (firstRow_ == 0) {
        firstRow_ = lastRow_ = row;
        firstColumn_ = lastColumn_ = column;
    } else {
        firstRow_ = std::min(firstRow_, row);
        lastRow_ = std::max(lastRow_, row);
        firstColumn_ = std::min(firstColumn_, column);
        lastColumn_ = std::max(lastColumn_, column);
    }
    return true;
}

bool Sheet::SetStyle(int row, int column, CellStyle style) {
    if (!Inside(row, column))
        return false;
    if (!style.bold && !style.text)
        return true;
    if (row > static_cast<int>(rows_.size()))
        rows_.resize(row);
    Row& r = rows_[row - 1];
    if (column > static_cast<int>(r.styles.size()))
        r.styles.resize(column);
    r.styles[column - 1] = style;
    return true;
}

}  // namespace workbook
