// A grid over a million rows: setting the row count, and one scroll step
// (jump to a position and paint the rows in view), as a user's page-down or
// a drag of the scroll bar does.
//   widgets_grid_bench [benchmark options]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <cstdlib>
#include <random>

#include "widgets/GridControl.h"

namespace {

class MadeUpRows : public vt::widgets::GridSource {
public:
    QString CellText(int row, int column) override {
        ++asked;
        return QStringLiteral("%1-%2 홍길동").arg(row).arg(column);
    }
    long asked = 0;
};

void Show(QWidget& widget) {
    widget.show();
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

constexpr int kRows = 1'000'000;

std::vector<vt::widgets::GridColumn> Columns() {
    std::vector<vt::widgets::GridColumn> columns;
    for (int i = 0; i < 12; ++i) columns.push_back({QStringLiteral("열%1").arg(i), 80});
    return columns;
}

void BM_SetMillionRows(benchmark::State& state) {
    MadeUpRows rows;
    vt::widgets::GridControl grid(&rows);
    grid.SetColumns(Columns());
    grid.resize(620, 300);
    Show(grid);
    for (auto _ : state) {
        grid.SetRowCount(0);
        grid.SetRowCount(kRows);
        grid.viewport()->repaint();
    }
}
BENCHMARK(BM_SetMillionRows)->Unit(benchmark::kMillisecond);

void BM_ScrollStep(benchmark::State& state) {
    MadeUpRows rows;
    vt::widgets::GridControl grid(&rows);
    grid.SetColumns(Columns());
    grid.resize(620, 300);
    grid.SetRowCount(kRows);
    Show(grid);
    std::mt19937 random(7);
    QScrollBar* bar = grid.verticalScrollBar();
    std::uniform_int_distribution<int> at(0, bar->maximum());
    for (auto _ : state) {
        bar->setValue(at(random));
        grid.viewport()->repaint();
    }
    state.counters["cells_per_step"] =
        benchmark::Counter(static_cast<double>(rows.asked), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
