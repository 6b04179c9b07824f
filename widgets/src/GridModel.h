#pragma once
// The grid's table model: row count and columns kept here, cell texts
// asked of the owner when the view paints them.

#include <QAbstractTableModel>
#include <QFont>
#include <vector>

#include "widgets/GridControl.h"

namespace vt::widgets {

class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(GridSource* source, QObject* parent = nullptr);

    void SetColumns(const std::vector<GridColumn>& columns);
    const std::vector<GridColumn>& Columns() const { return columns_; }
    void SetRowCount(int rows);
    void RefreshRows();
    void SetFonts(const QFont& cells, const QFont& headings);
    long RecordPosition(int row) const { return source_->RecordPosition(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    GridSource* source_;
    std::vector<GridColumn> columns_;
    int rows_ = 0;
    QFont cellFont_;
    QFont headingFont_;
};

}  // namespace vt::widgets
