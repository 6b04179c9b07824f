// The block list editor over many rules: from the button press to the
// editor shown and painted with its grid filled, a rule added, a rule's
// kind changed and a rule removed (each with the list read again), and the
// last rule scrolled into view.
//   vantelo_blocklist_bench [rules=10000] [runs=3]
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BlockListDialog.h"
#include "platform/Clock.h"
#include "storage/Transaction.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/VanteloDatabase.h"
#include "widgets/GridControl.h"

using vantelo::pages::BlockListDialog;

namespace {

bool Fill(long count) {
    vantelo::CRSBlockList list(vantelo::DefaultDatabasePath());
    if (!list.Open().ok())
        return false;
    storage::Transaction t(*list.GetConnection());
    if (!t.Begin().ok())
        return false;
    for (long i = 0; i < count; ++i) {
        vantelo::ScreeningRule rule;
        rule.pattern =
            (i % 3 == 0 ? "070" : "02") + std::to_string(1000000 + i) + (i % 2 == 0 ? "*" : "");
        rule.kind = i % 10 == 0 ? vantelo::RuleKind::Permit : vantelo::RuleKind::Block;
        rule.note = "규칙 " + std::to_string(i);
        if (!list.Add(rule).ok())
            return false;
    }
    return t.Commit().ok();
}

double Ms(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    const long rules = argc > 1 ? std::atol(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    vt::test::TestEnvironment env;
    QApplication app(argc, argv);
    if (!vantelo::PrepareDatabase(vt::SystemClock::Instance()).ok() || !Fill(rules))
        return 1;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        BlockListDialog dialog(vantelo::DefaultDatabasePath());
        dialog.show();
        dialog.repaint();
        QApplication::processEvents();
        const double openMs = Ms(clock);

        auto* pattern = dialog.findChild<QLineEdit*>(QStringLiteral("pattern"));
        pattern->setText(QStringLiteral("0319%1*").arg(run));
        clock.restart();
        const bool added = dialog.AddRule();
        dialog.repaint();
        const double addMs = Ms(clock);

        dialog.Grid().SelectRow(rules / 2);
        clock.restart();
        const bool changed = dialog.ChangeSelected();
        dialog.repaint();
        const double changeMs = Ms(clock);

        clock.restart();
        const bool removed = dialog.RemoveSelected();
        dialog.repaint();
        const double removeMs = Ms(clock);

        clock.restart();
        dialog.Grid().SelectRow(dialog.RuleCount() - 1);
        dialog.repaint();
        const double endMs = Ms(clock);
        std::printf(
            "rules %d: editor shown and painted %.1f ms; add %.1f ms (%s), change %.1f ms "
            "(%s), remove %.1f ms (%s); last row in view %.1f ms\n",
            dialog.RuleCount(), openMs, addMs, added ? "ok" : "refused", changeMs,
            changed ? "ok" : "refused", removeMs, removed ? "ok" : "refused", endMs);
    }
    return 0;
}
