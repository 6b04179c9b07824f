#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <set>

#include "testsupport/QtPump.h"
#include "widgets/GridControl.h"

using vt::widgets::GridColumn;
using vt::widgets::GridControl;

namespace {

// An owner that makes up its cells from the position and notes which rows
// the grid asked for. Rows are listed newest first, as the call log does.
class CountingSource : public vt::widgets::GridSource {
public:
    QString CellText(int row, int column) override {
        asked.insert(row);
        return QStringLiteral("r%1c%2").arg(row).arg(column);
    }
    long RecordPosition(int row) override { return rows - row - 1; }

    int rows = 0;
    std::set<int> asked;
};

class GridControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid_.resize(400, 300);
        grid_.SetColumns({{"이름", 70, Qt::AlignLeft | Qt::AlignVCenter},
                          {"전화", 90, Qt::AlignRight | Qt::AlignVCenter},
                          {"메모", 120, Qt::AlignCenter}});
        Rows(50);
        grid_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid_));
    }

    void Rows(int n) {
        source_.rows = n;
        grid_.SetRowCount(n);
    }

    QPoint Cell(int row, int column) { return grid_.CellRect(row, column).center(); }

    CountingSource source_;
    GridControl grid_{&source_};
};

TEST_F(GridControlTest, ColumnsCarryHeadingWidthAndAlignment) {
    EXPECT_EQ(grid_.ColumnCount(), 3);
    auto* model = grid_.model();
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "전화");
    EXPECT_EQ(grid_.columnWidth(0), 70);
    EXPECT_EQ(grid_.columnWidth(2), 120);
    const auto align =
        model->data(model->index(3, 1), Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_TRUE(align & Qt::AlignRight);
    EXPECT_EQ(model->data(model->index(3, 1), Qt::DisplayRole).toString(), "r3c1");

    QFont cells("NanumGothic", 9);
    QFont headings("NanumGothic", 9, QFont::Bold);
    grid_.SetFonts(cells, headings);
    EXPECT_TRUE(model->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::FontRole).value<QFont>().bold());
}

TEST_F(GridControlTest, AMillionRowsAskOnlyForTheRowsInView) {
    Rows(1'000'000);
    source_.asked.clear();
    grid_.viewport()->repaint();
    ASSERT_FALSE(source_.asked.empty());
    EXPECT_LT(source_.asked.size(), 40u);

    source_.asked.clear();
    grid_.verticalScrollBar()->setValue(grid_.verticalScrollBar()->maximum());
    grid_.viewport()->repaint();
    ASSERT_FALSE(source_.asked.empty());
    EXPECT_LT(source_.asked.size(), 40u);
    EXPECT_EQ(*source_.asked.rbegin(), 999'999);
}

TEST_F(GridControlTest, ClickSelectsAndNotifiesOnceAndARowCountDropsTheSelection) {
    QSignalSpy changed(&grid_, &GridControl::RowChanged);
    EXPECT_EQ(grid_.SelectedRow(), -1);
    QTest::mouseClick(grid_.viewport(), Qt::LeftButton, {}, Cell(4, 1));
    EXPECT_EQ(grid_.SelectedRow(), 4);
    EXPECT_EQ(changed.count(), 1);
    QTest::mouseClick(grid_.viewport(), Qt::LeftButton, {}, Cell(4, 2));
    EXPECT_EQ(changed.count(), 1);  // same row, other cell

    QTest::keyClick(&grid_, Qt::Key_Down);
    EXPECT_EQ(grid_.SelectedRow(), 5);
    EXPECT_EQ(changed.count(), 2);

    Rows(10);
    EXPECT_EQ(grid_.SelectedRow(), -1);
    EXPECT_EQ(changed.count(), 3);
}

TEST_F(GridControlTest, DoubleClickTellsColumnAndRecordPosition) {
    QSignalSpy clicked(&grid_, &GridControl::CellDoubleClicked);
    QTest::mouseDClick(grid_.viewport(), Qt::LeftButton, {}, Cell(2, 1));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 1);
    EXPECT_EQ(clicked[0][1].value<long>(), 50 - 2 - 1);

    // Below the last row there is no cell.
    Rows(1);
    QTest::mouseDClick(grid_.viewport(), Qt::LeftButton, {}, Cell(0, 0) + QPoint(0, 100));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(GridControlTest, ContextMenuSelectsTheRowAndReportsTheChosenItem) {
    QContextMenuEvent none(QContextMenuEvent::Mouse, Cell(3, 0), grid_.mapToGlobal(Cell(3, 0)));
    QApplication::sendEvent(grid_.viewport(), &none);
    EXPECT_EQ(grid_.OpenContextMenu(), nullptr);  // no items, no menu

    grid_.SetContextItems({{3001, "삭제"}, {3002, "백업"}, {3003, "Dial"}});
    QSignalSpy chosen(&grid_, &GridControl::ContextItemChosen);
    QContextMenuEvent event(QContextMenuEvent::Mouse, Cell(7, 0), grid_.mapToGlobal(Cell(7, 0)));
    QApplication::sendEvent(grid_.viewport(), &event);
    EXPECT_EQ(grid_.SelectedRow(), 7);
    QMenu* menu = grid_.OpenContextMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[2]->text(), "Dial");
    menu->actions()[2]->trigger();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].toInt(), 3003);
    EXPECT_EQ(chosen[0][1].toInt(), 7);
}

TEST_F(GridControlTest, KeysThatDoNotMoveGoToThePage) {
    QSignalSpy passed(&grid_, &GridControl::KeyPassed);
    QTest::keyClicks(&grid_, "12#");
    QTest::keyClick(&grid_, Qt::Key_Return);
    QTest::keyClick(&grid_, Qt::Key_Backspace);
    ASSERT_EQ(passed.count(), 5);
    EXPECT_EQ(passed[0][2].toString(), "1");
    EXPECT_EQ(passed[2][2].toString(), "#");
    EXPECT_EQ(passed[3][0].toInt(), Qt::Key_Return);
    EXPECT_EQ(passed[4][0].toInt(), Qt::Key_Backspace);
    EXPECT_EQ(grid_.SelectedRow(), -1);  // typing selects nothing

    QTest::keyClick(&grid_, Qt::Key_End);
    EXPECT_EQ(passed.count(), 5);
}

}  // namespace
