// The call log page over a large log: the backup of 10,000 calls (one in ten
// with a recording), then, over N calls, the page's set-up (open, walk, grid
// filled and painted), a refill by kind tab, a search by name through the
// page, the same search on a trigram index for comparison, and delete-all.
//   vantelo_calllog_bench [calls=1000000]
#include <sqlite3.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "../tools/IdlePhone.h"
#include "CallListPage.h"
#include "PhoneWindow.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "storage/Transaction.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CallLogBackup.h"
#include "vantelo/core/VanteloDatabase.h"

using namespace vantelo::pages;
namespace fs = std::filesystem;

namespace {

double Ms(QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// The first calls through the record set, one in ten with a recording file.
bool FillRecorded(long count, const std::string& recDir) {
    vantelo::CRSCallList log;
    if (!log.Open().ok())
        return false;
    storage::Transaction t(*log.GetConnection());
    if (!t.Begin().ok())
        return false;
    for (long i = 0; i < count; ++i) {
        vantelo::CallRecord c;
        c.CallMode = static_cast<int>(i % 5);
        c.CallName = "이름" + std::to_string(i);
        c.CallNum = "02" + std::to_string(10000000 + i);
        c.CallDate = {2007,
                      1,
                      1 + static_cast<int>(i / 1000 % 28),
                      static_cast<int>(i / 60 % 24),
                      static_cast<int>(i % 60),
                      static_cast<int>(i * 7 % 60)};
        c.CallTime = i % 600;
        if (i % 10 == 0) {
            c.CallRec = true;
            c.CallRecDirectory = recDir;
            c.CallRecFileName = std::to_string(i) + ".wav";
            std::ofstream(recDir + c.CallRecFileName, std::ios::binary)
                << std::string(16000, 'x');  // two seconds of 8 kHz audio
        }
        if (!log.AddNew().ok() || !c.Write(log).ok() || !log.Update().ok())
            return false;
    }
    return t.Commit().ok();
}

// The rest in one statement: a recursive CTE inside one transaction, into
// the table the program created (its checks still hold every row).
bool FillBulk(long from, long to) {
    vantelo::CRSCallList log;
    if (!log.Open().ok())
        return false;
    storage::Transaction t(*log.GetConnection());
    if (!t.Begin().ok())
        return false;
    const std::string sql =
        "WITH RECURSIVE n(i) AS (SELECT " + std::to_string(from) +
        " UNION ALL SELECT i + 1 FROM n "
        "WHERE i + 1 < " +
        std::to_string(to) +
        ") "
        "INSERT INTO CallList (CallMode, CallName, CallNum, CallCompressMode, CallDate, CallTime, "
        "CallRecDirectory, CallRecFileName, CallRec, CallDtmf, CallbInner, CallMemo) "
        "SELECT i % 5, '이름' || i, '02' || (10000000 + i), 3, "
        "datetime('2007-01-01 00:00:00', '+' || (i * 90) || ' seconds'), i % 600, '', '', 0, "
        "CASE WHEN i % 7 = 0 THEN '1#' ELSE '' END, 0, CASE WHEN i % 10 = 0 THEN '메모 ' || i "
        "ELSE '' END FROM n";
    return log.GetConnection()->Exec(sql, "filling the call log").ok() && t.Commit().ok();
}

// Closes every message box that comes up (the size warning above 900000).
void AnswerBoxes() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    timer->start(1);
}

// The same substring search on the table and on an FTS5 trigram index of the
// name column: how long building the index takes and what it saves.
void TrigramComparison(const fs::path& database, const std::string& text) {
    sqlite3* db = nullptr;
    if (sqlite3_open(database.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return;
    }
    auto timed = [&](const std::string& sql, long* rows) {
        QElapsedTimer t;
        t.start();
        sqlite3_stmt* st = nullptr;
        long n = 0;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW) ++n;
        sqlite3_finalize(st);
        if (rows)
            *rows = n;
        return Ms(t);
    };
    long rows = 0;
    const std::string like = " LIKE '%" + text + "%'";
    double scan = timed("SELECT rowid FROM CallList WHERE CallName" + like, &rows);
    std::printf("  name LIKE scan of the table (%ld rows): %.0f ms\n", rows, scan);
    char* error = nullptr;
    QElapsedTimer t;
    t.start();
    sqlite3_exec(db,
                 "CREATE VIRTUAL TABLE bench_names USING fts5(CallName, tokenize='trigram');"
                 "INSERT INTO bench_names(rowid, CallName) SELECT rowid, CallName FROM CallList;",
                 nullptr, nullptr, &error);
    const double build = Ms(t);
    if (error) {
        std::printf("  trigram index: %s\n", error);
        sqlite3_free(error);
        sqlite3_close(db);
        return;
    }
    double indexed = timed("SELECT rowid FROM bench_names WHERE CallName" + like, &rows);
    std::printf("  trigram index: built in %.0f ms; the same search (%ld rows): %.1f ms\n", build,
                rows, indexed);
    sqlite3_exec(db, "DROP TABLE bench_names", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace

int main(int argc, char** argv) {
    const long calls = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    vt::test::TestEnvironment env;
    QApplication app(argc, argv);
    if (!vantelo::PrepareDatabase(vt::SystemClock::Instance()).ok())
        return 1;
    const std::string recDir = (vt::ApplicationFolder() / "Record" / "2007-01-01").string() + "/";
    fs::create_directories(recDir);
    const long recorded = std::min(calls, 10000L);
    if (!FillRecorded(recorded, recDir))
        return 1;
    QElapsedTimer t;
    {
        vantelo::CRSCallList log;
        if (!log.Open().ok())
            return 1;
        t.start();
        vantelo::CallLogBackup backup(vt::ApplicationFolder() / "backup");
        long n = backup.Begin() ? backup.AddAll(log) : 0;
        const bool ok = backup.Finish();
        std::printf("backup of %ld calls (%ld recordings): %.0f ms%s\n", n, (recorded + 9) / 10,
                    Ms(t), ok ? "" : " (with failures)");
    }
    t.restart();
    if (calls > recorded && !FillBulk(recorded, calls))
        return 1;
    std::printf("bulk fill of %ld calls (one INSERT, one transaction): %.0f ms\n", calls - recorded,
                Ms(t));

    IdlePhone phone(false, vt::ApplicationFolder());
    PhoneWindow::Setup setup;
    setup.database = vantelo::DefaultDatabasePath();
    setup.tray = false;
    PhoneWindow window(phone, setup);
    window.show();
    QApplication::processEvents();
    AnswerBoxes();

    t.restart();
    CallListPage* page = CallListPage::InstallInto(window, phone, setup.database);
    window.SwitchPage(2);
    page->repaint();
    std::printf("page set-up over %ld calls (open, walk, fill, first paint): %.0f ms\n", calls,
                Ms(t));

    auto* tabs = static_cast<QTabBar*>(page->Control(IDC_CL_TABS));
    for (int tab : {1, 4, 0}) {
        t.restart();
        tabs->setCurrentIndex(tab);
        page->repaint();
        std::printf("refill by tab %d (%d rows): %.0f ms\n", tab, page->Grid().RowCount(), Ms(t));
    }

    auto* target = static_cast<QComboBox*>(page->Control(IDC_CL_TARGET));
    target->setCurrentIndex(1);
    emit target->activated(1);
    // A name of few calls, then names shared by a tenth and by all of them
    // (every result is sorted by date).
    for (const QString& name :
         {QStringLiteral("이름12345"), QStringLiteral("이름1"), QStringLiteral("이름")}) {
        static_cast<QLineEdit*>(page->Control(IDC_CL_SEARCH_EDIT))->setText(name);
        t.restart();
        static_cast<QAbstractButton*>(page->Control(IDC_CL_SEARCH))->click();
        page->repaint();
        std::printf("search by name '%s' through the page (%d rows): %.0f ms\n",
                    name.toStdString().c_str(), page->Grid().RowCount(), Ms(t));
    }
    TrigramComparison(setup.database, "이름12345");

    target->setCurrentIndex(0);
    emit target->activated(0);
    // As the page deletes: events handled between batches; the longest
    // stretch without them is how long the window stands still.
    long batches = 0;
    double longest = 0, last = 0, first = -1;
    t.restart();
    auto done = page->Records().DeleteAllCalls(vt::ApplicationFolder(), [&](long, long) {
        QCoreApplication::processEvents();
        const double now = Ms(t);
        if (first < 0)
            first = now;
        else
            longest = std::max(longest, now - last);
        last = now;
        ++batches;
        return true;
    });
    const double total = Ms(t);
    std::printf(
        "delete-all of %ld calls (%ld recording files): %.0f ms%s\n"
        "  %ld progress reports; without events: %.0f ms before the first, at most "
        "%.0f ms between two (the last holds the commit), %.0f ms after the last\n",
        done.ok() ? done.value().deleted : 0L, (recorded + 9) / 10, total,
        done.ok() ? "" : " (failed)", batches, first, longest, total - last);
    return 0;
}
