// The call log page over a large log: the backup of 10,000 calls (one in ten
// with a recording), then, over N calls, the page's set-up (open, walk, grid
// filled and painted), a refill by kind tab and a search by name.
//   vantelo_calllog_bench [calls=1000000]
#include <QApplication>
#include <QElapsedTimer>
#include <QTabBar>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/Clock.h"
#include "platform/Folders.h"
#include "storage/Transaction.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CallLogBackup.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/CallListPage.h"
#include "vantelo/pages/PhoneWindow.h"
#include "../tools/IdlePhone.h"

using namespace vantelo::pages;
namespace fs = std::filesystem;

namespace {

bool Fill(long from, long to, const std::string& recDir) {
    vantelo::CRSCallList log;
    if (!log.Open().ok())
        return false;
    storage::Transaction t(*log.GetConnection());
    if (!t.Begin().ok())
        return false;
    for (long i = from; i < to; ++i) {
        vantelo::CallRecord c;
        c.CallMode = static_cast<int>(i % 5);
        c.CallName = "이름" + std::to_string(i);
        c.CallNum = "02" + std::to_string(10000000 + i);
        c.CallDate = {2007 + static_cast<int>(i / 400000), 1 + static_cast<int>(i / 30000 % 12),
                      1 + static_cast<int>(i / 1000 % 28), static_cast<int>(i / 60 % 24),
                      static_cast<int>(i % 60), static_cast<int>(i * 7 % 60)};
        c.CallTime = i % 600;
        if (i < 10000 && i % 10 == 0) {
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

double Ms(QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

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
    if (!Fill(0, std::min(calls, 10000L), recDir))
        return 1;
    {
        vantelo::CRSCallList log;
        if (!log.Open().ok())
            return 1;
        QElapsedTimer t;
        t.start();
        vantelo::CallLogBackup backup(vt::ApplicationFolder() / "backup");
        long n = backup.Begin() ? backup.AddAll(log) : 0;
        const bool ok = backup.Finish();
        std::printf("backup of %ld calls (1000 recordings): %.0f ms%s\n", n, Ms(t),
                    ok ? "" : " (with failures)");
    }
    if (calls > 10000 && !Fill(10000, calls, recDir))
        return 1;

    IdlePhone phone(false, vt::ApplicationFolder());
    PhoneWindow::Setup setup;
    setup.database = vantelo::DefaultDatabasePath();
    setup.tray = false;
    PhoneWindow window(phone, setup);
    window.show();
    QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    CallListPage* page = CallListPage::InstallInto(window, phone, setup.database);
    window.SwitchPage(2);
    page->repaint();
    std::printf("page set-up over %ld calls (open, walk, fill, paint): %.0f ms\n", calls, Ms(t));

    auto* tabs = static_cast<QTabBar*>(page->Control(IDC_CL_TABS));
    t.restart();
    tabs->setCurrentIndex(1);
    page->repaint();
    std::printf("refill by tab (outgoing, %ld rows): %.0f ms\n", page->Grid().RowCount() + 0L, Ms(t));
    t.restart();
    tabs->setCurrentIndex(0);
    page->repaint();
    std::printf("refill by tab (all, %ld rows): %.0f ms\n", page->Grid().RowCount() + 0L, Ms(t));

    t.restart();
    (void)page->Records().SetSearch(1, "이름12345");
    page->Grid().SetRowCount(static_cast<int>(page->Records().GetRecordCount()));
    page->repaint();
    std::printf("search by name (%ld rows): %.0f ms\n", page->Records().GetRecordCount(), Ms(t));
    return 0;
}
