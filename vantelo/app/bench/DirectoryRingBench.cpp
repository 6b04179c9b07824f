// Whether the directory look-up holds the ring back: the real window and
// phone bound by PhoneBinding, the directory hooked in as the window program
// hooks it (DirectoryNamer), and a caller no contact book knows. Each run
// posts the caller ID as the line library would and times, on the window's
// thread, the number display's first paint with the number, and (with a
// directory that knows the caller) its paint with the directory's name.
// Three directories: none, a server that never answers, and a slapd.
//   vantelo_directory_ring_bench [runs=20]

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "BulkFill.h"
#include "PhoneFixture.h"
#include "PhoneWindow.h"
#include "lindev/lindev.h"
#include "platform/Clock.h"
#include "platform/IniStore.h"
#include "platform/ManualTimerHost.h"
#include "testsupport/LdapTestServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/app/DirectoryNamer.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/PhoneBinding.h"
#include "vantelo/pages/PhoneIds.h"

namespace {

enum class Directory { None, Silent, Slapd };

// Notes when the number display first paints each text awaited.
class PaintWatch : public QObject {
public:
    QString number, named;
    QElapsedTimer since;
    double numberMs = -1, namedMs = -1;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* label = qobject_cast<QLabel*>(watched);
        if (event->type() != QEvent::Paint || !label)
            return false;
        if (numberMs < 0 && label->text() == number)
            numberMs = since.nsecsElapsed() / 1e6;
        if (namedMs < 0 && label->text() == named)
            namedMs = since.nsecsElapsed() / 1e6;
        return false;
    }
};

std::string Number(int run) {
    return "0317" + std::to_string(100000 + run);
}

std::string Name(int run) {
    return "디렉터리" + std::to_string(run);
}

struct Figures {
    std::vector<double> number, named;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

double Worst(const std::vector<double>& v) {
    return v.empty() ? -1 : *std::max_element(v.begin(), v.end());
}

bool Run(Directory kind, int runs, Figures& out) {
    vt::test::TestEnvironment env;
    const auto database = vantelo::DefaultDatabasePath();
    if (!vantelo::bench::MakeDatabase(database, 10000, 0))
        return false;
    std::unique_ptr<vt::test::SilentServer> silent;
    std::unique_ptr<vt::test::LdapTestServer> slapd;
    std::string url;
    if (kind == Directory::Silent) {
        silent = std::make_unique<vt::test::SilentServer>();
        url = silent->LdapUrl();
    } else if (kind == Directory::Slapd) {
        slapd = std::make_unique<vt::test::LdapTestServer>(env.Root() / "slapd");
        for (int run = 0; run < runs; ++run)
            slapd->Add({"p" + std::to_string(run), "P", Name(run), {Number(run)}, {}, {}});
        url = slapd->Url();
    }
    if (!url.empty()) {
        vt::IniStore ini(vt::SettingsFilePath());
        ini.Load();
        ini.SetString("Ldap", "Server", url);
        ini.SetString("Ldap", "Base", vt::test::LdapTestServer::kBase);
        if (!ini.Save())
            return false;
    }

    vantelo::test::ScriptLine line;
    vt::FixedClock clock = vt::FixedClock::At(2026, 12, 8, 9, 0, 0);
    vt::ManualTimerHost timers;
    vantelo::pages::WindowSetup setup;
    setup.database = database;
    setup.tray = false;
    vantelo::pages::PhoneBinding binding(
        {line, clock, vantelo::PhoneController::Places{env.AppHome(), vt::SettingsFilePath()},
         setup, &timers});
    timers.SetSink(&binding.Phone());
    auto& window = binding.Window();
    window.show();
    binding.Start();
    std::string said;
    vantelo::DirectoryNamer namer(
        [](std::function<void()> task) {
            QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
        },
        [&binding](const std::string& number, const std::string& name) {
            binding.Phone().DirectoryAnswered(number, name);
        },
        [&said](const std::string& line) { said = line; }, clock);
    if (namer.Start())
        binding.Phone().SetCallerDirectory(&namer);
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

    for (int run = 0; run < runs; ++run) {
        const std::string number = Number(run);
        line.Post(WM_TY_RINGDETECTED, 0);
        deliver();
        line.cid = "12080900";
        line.cid.push_back(static_cast<char>(number.size()));
        line.cid += number;
        watch.number = QString::fromStdString(number);
        watch.named = QString::fromStdString(Name(run) + "\n" + number);
        watch.numberMs = watch.namedMs = -1;
        watch.since.start();
        window.MessageWindow().Post(WM_TY_CIDREDAY, 0, 0);
        // Until the name is painted, or the look-up's budget is well past.
        while (watch.namedMs < 0 && watch.since.elapsed() < 1000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (watch.numberMs < 0) {
            std::fprintf(stderr, "run %d: the number was not painted\n", run);
            return false;
        }
        out.number.push_back(watch.numberMs);
        if (watch.namedMs >= 0)
            out.named.push_back(watch.namedMs);
        line.Post(WM_TY_RINGEND, 0);
        deliver();
        for (int i = 0; i < 50; ++i) QApplication::processEvents();
    }
    binding.Phone().SetCallerDirectory(nullptr);
    if (!said.empty())
        std::printf("  (the directory said: %s)\n", said.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const std::pair<Directory, const char*> kinds[] = {
        {Directory::None, "no directory"},
        {Directory::Silent, "a directory that never answers"},
        {Directory::Slapd, "a slapd that knows the caller"}};
    for (const auto& [kind, label] : kinds) {
        Figures f;
        if (!Run(kind, runs, f))
            return 1;
        std::printf("%s: caller ID to the number painted: median %.2f ms, worst %.2f ms", label,
                    Median(f.number), Worst(f.number));
        if (!f.named.empty())
            std::printf(
                "; to the directory's name painted: median %.2f ms, worst %.2f ms (%zu "
                "of %d calls)",
                Median(f.named), Worst(f.named), f.named.size(), runs);
        std::printf(" over %d calls\n", runs);
    }
    return 0;
}
