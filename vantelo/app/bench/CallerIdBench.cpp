// Time from the line library posting WM_TY_CIDREDAY to the caller's name
// painted in the number display: the real phone controller and window bound
// by PhoneBinding, the scripted line of the controller's tests, an address
// book of N contacts. Each run rings, posts the caller ID through the
// window's message window (as the line library's threads do) and waits for
// the number display's paint with the name.
//   vantelo_callerid_bench [contacts=100000] [runs=20]

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BulkFill.h"
#include "PhoneFixture.h"
#include "PhoneWindow.h"
#include "lindev/lindev.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/ManualTimerHost.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/PhoneBinding.h"
#include "vantelo/pages/PhoneIds.h"

namespace {

// Notes when the number display first paints the text awaited.
class PaintWatch : public QObject {
public:
    QString awaited;
    QElapsedTimer since;
    double paintedMs = -1;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* label = qobject_cast<QLabel*>(watched);
        if (event->type() == QEvent::Paint && paintedMs < 0 && label && label->text() == awaited)
            paintedMs = since.nsecsElapsed() / 1e6;
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const long contacts = argc > 1 ? std::atol(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 20;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    vt::test::TestEnvironment env;
    QApplication app(argc, argv);
    const auto database = vantelo::DefaultDatabasePath();
    if (!vantelo::bench::MakeDatabase(database, contacts, 0))
        return 1;

    vantelo::test::ScriptLine line;
    vt::FixedClock clock = vt::FixedClock::At(2026, 12, 8, 9, 0, 0);
    vt::ManualTimerHost timers;
    vantelo::pages::WindowSetup setup;
    setup.database = database;
    setup.tray = false;
    vantelo::pages::PhoneBinding binding({line, clock,
                                          vantelo::PhoneController::Places{env.AppHome(),
                                                                           vt::SettingsFilePath()},
                                          setup, &timers});
    timers.SetSink(&binding.Phone());
    auto& window = binding.Window();
    window.show();
    binding.Start();
    auto deliver = [&] {
        while (!line.posted.empty()) {
            const auto m = line.posted.front();
            line.posted.pop_front();
            window.MessageWindow().Post(m.message, 0, m.lParam);
        }
        QApplication::processEvents();
    };
    deliver();
    PaintWatch watch;
    window.Control(vantelo::pages::IDC_NUMBER)->installEventFilter(&watch);

    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        const long who = 1 + (run * 4999) % contacts;
        const std::string number = "02" + std::to_string(10000000 + who);
        const QString shown = QString::fromStdString("이름" + std::to_string(who) + "\n" + number);
        line.Post(WM_TY_RINGDETECTED, 0);
        deliver();
        line.cid = "12080900";
        line.cid.push_back(static_cast<char>(number.size()));
        line.cid += number;
        watch.awaited = shown;
        watch.paintedMs = -1;
        watch.since.start();
        window.MessageWindow().Post(WM_TY_CIDREDAY, 0, 0);
        while (watch.paintedMs < 0 && watch.since.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        ms.push_back(watch.paintedMs);
        if (watch.paintedMs < 0) {
            std::fprintf(stderr, "run %d: the display did not paint; it shows \"%s\"\n", run,
                         window.NumberText().toStdString().c_str());
            return 1;
        }
        line.Post(WM_TY_RINGEND, 0);  // the caller gives up; the next call
        deliver();
        for (int i = 0; i < 50; ++i) QApplication::processEvents();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("contacts %ld: caller ID to the name painted in the number display: median "
                "%.2f ms, worst %.2f ms over %d calls (platform %s)\n",
                contacts, ms[ms.size() / 2], ms.back(), runs, std::getenv("QT_QPA_PLATFORM"));
    return 0;
}
