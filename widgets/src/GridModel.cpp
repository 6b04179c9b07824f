#include "GridModel.h"

namespace vt::widgets {

GridModel::GridModel(GridSource* source, QObject* parent)
    : QAbstractTableModel(parent), source_(source) {}

void GridModel::SetColumns(const std::vector<GridColumn>& columns) {
    beginResetModel();
    columns_ = columns;
    endResetModel();
}

void GridModel::SetRowCount(int rows) {
    beginResetModel();
    rows_ = rows < 0 ? 0 : rows;
    endResetModel();
}

void GridModel::RefreshRows() {
    if (rows_ > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(columns_.size()) - 1),
                         {Qt::DisplayRole});
}

void GridModel::SetFonts(const QFont& cells, const QFont& headings) {
    cellFont_ = cells;
    headingFont_ = headings;
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount())
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return source_->CellText(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                columns_[static_cast<std::size_t>(index.column())].alignment);
        case Qt::FontRole:
            return cellFont_;
        default:
            return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return columns_[static_cast<std::size_t>(section)].heading;
    if (role == Qt::FontRole)
        return headingFont_;
    return {};
}

}  // namespace vt::widgets
