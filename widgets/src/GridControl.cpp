#include "widgets/GridControl.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include "GridModel.h"

namespace vt::widgets {

namespace {

// Keys the grid keeps for moving the selection; every other key is the page's.
bool IsMoveKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
    }
}

}  // namespace

GridControl::GridControl(GridSource* source, QWidget* parent)
    : QTableView(parent), model_(new GridModel(source, this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab leaves the grid (the arrows move in it): the keyboard reaches the
    // page's other controls.
    setTabKeyNavigation(false);
    setAlternatingRowColors(true);
    // Fixed row heights keep the position of any row a multiplication, so a
    // huge row count costs nothing to lay out.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    SetFonts(font(), font());
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { NoteSelection(); });
}

GridControl::~GridControl() = default;

void GridControl::SetColumns(const std::vector<GridColumn>& columns) {
    model_->SetColumns(columns);
    for (std::size_t i = 0; i < columns.size(); ++i)
        setColumnWidth(static_cast<int>(i), columns[i].width);
    NoteSelection();
}

int GridControl::ColumnCount() const {
    return model_->columnCount();
}

const GridColumn& GridControl::Column(int column) const {
    return model_->Columns().at(static_cast<std::size_t>(column));
}

void GridControl::SetRowCount(int rows) {
    model_->SetRowCount(rows);
    // The reset dropped the selection without a selection-change signal.
    NoteSelection();
}

int GridControl::RowCount() const {
    return model_->rowCount();
}

void GridControl::RefreshRows() {
    model_->RefreshRows();
    viewport()->update();
}

void GridControl::SetFonts(const QFont& cells, const QFont& headings) {
    model_->SetFonts(cells, headings);
    horizontalHeader()->setFont(headings);
    const int rowHeight = QFontMetrics(cells).height() + 6;
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
}

int GridControl::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void GridControl::SelectRow(int row) {
    if (row < 0 || row >= RowCount()) {
        ClearCurrentCell();
        return;
    }
    selectRow(row);
    scrollTo(model_->index(row, 0));
}

void GridControl::ClearCurrentCell() {
    selectionModel()->clear();
    NoteSelection();
}

void GridControl::SetContextItems(const std::vector<std::pair<int, QString>>& items) {
    contextItems_ = items;
}

QMenu* GridControl::OpenContextMenu() const {
    return menu_ && menu_->isVisible() ? menu_ : nullptr;
}

QRect GridControl::CellRect(int row, int column) const {
    return visualRect(model_->index(row, column));
}

void GridControl::NoteSelection() {
    const int row = SelectedRow();
    if (row == reportedRow_)
        return;
    reportedRow_ = row;
    emit RowChanged();
}

void GridControl::keyPressEvent(QKeyEvent* event) {
    if (IsMoveKey(event->key()) && RowCount() > 0) {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
    emit KeyPassed(event->key(), event->modifiers(), event->text());
}

void GridControl::contextMenuEvent(QContextMenuEvent* event) {
    if (contextItems_.empty())
        return;
    const QModelIndex at = indexAt(event->pos());
    if (!at.isValid())
        return;
    const int row = at.row();
    SelectRow(row);
    delete menu_;
    menu_ = new QMenu(this);
    for (const auto& [id, text] : contextItems_) {
        const int item = id;
        connect(menu_->addAction(text), &QAction::triggered, this,
                [this, item, row] { emit ContextItemChosen(item, row); });
    }
    menu_->popup(event->globalPos());
    event->accept();
}

void GridControl::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    const QModelIndex at = indexAt(event->position().toPoint());
    if (!at.isValid())
        return;
    emit CellDoubleClicked(at.column(), model_->RecordPosition(at.row()));
}

}  // namespace vt::widgets
