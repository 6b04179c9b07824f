#pragma once
// A list grid whose rows come on demand from its owner (GridSource): no
// widget per row and only the rows in view are asked for, so a record set
// of a million rows scrolls at once. The owner sets the columns (heading,
// width, alignment), the fonts, the row count and the context menu, and
// hears of the selected row changing, of double-clicks (column and record
// position), of context-menu choices (item and row) and of every key that
// the grid does not use for moving (typed digits dial on the pages).

#include <QFont>
#include <QString>
#include <QTableView>
#include <utility>
#include <vector>

#include "widgets/GridSource.h"

class QMenu;

namespace vt::widgets {

class GridModel;

struct GridColumn {
    QString heading;
    int width = 80;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class GridControl : public QTableView {
    Q_OBJECT
public:
    explicit GridControl(GridSource* source, QWidget* parent = nullptr);
    ~GridControl() override;

    void SetColumns(const std::vector<GridColumn>& columns);
    int ColumnCount() const;
    const GridColumn& Column(int column) const;

    // A new row count drops the current cell: what the rows show changed.
    void SetRowCount(int rows);
    int RowCount() const;
    // Repaints the rows in view, asking the owner again.
    void RefreshRows();

    void SetFonts(const QFont& cells, const QFont& headings);

    // -1 when no row is selected.
    int SelectedRow() const;
    void SelectRow(int row);
    void ClearCurrentCell();

    // Items of the context menu (id, text); none means no menu.
    void SetContextItems(const std::vector<std::pair<int, QString>>& items);
    // The menu while it is open (for tests and tools); nullptr otherwise.
    QMenu* OpenContextMenu() const;

    // Where a cell is drawn, in viewport coordinates.
    QRect CellRect(int row, int column) const;

signals:
    void RowChanged();
    void CellDoubleClicked(int column, long recordPosition);
    void ContextItemChosen(int item, int row);
    void KeyPassed(int key, Qt::KeyboardModifiers modifiers, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void NoteSelection();

    GridModel* model_;
    QMenu* menu_ = nullptr;
    std::vector<std::pair<int, QString>> contextItems_;
    int reportedRow_ = -1;
};

}  // namespace vt::widgets
