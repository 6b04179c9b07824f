#include "vantelo/app/WindowProgram.h"

#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "i18n/Translations.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/RequestServer.h"
#include "vantelo/app/AddressBookSync.h"
#include "vantelo/app/CallerIdService.h"
#include "vantelo/app/DeferredStart.h"
#include "vantelo/app/DeskRingNotifier.h"
#include "vantelo/app/DirectoryNamer.h"
#include "vantelo/app/LindevLine.h"
#include "vantelo/app/MessageMailer.h"
#include "vantelo/app/MessageNotifier.h"
#include "vantelo/app/OtherDesks.h"
#include "vantelo/app/ProgramStart.h"
#include "vantelo/app/RingNotifier.h"
#include "vantelo/app/SignalWatcher.h"
#include "vantelo/core/DeskIdentity.h"
#include "vantelo/core/LineWatchers.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/VanteloDatabase.h"
#include "vantelo/pages/PhoneBinding.h"
#include "widgets/QtText.h"

namespace vantelo {

namespace {

// A problem before the window exists: one line on standard error, and a
// box where somebody can see it (the offscreen platform has nobody).
void Report(ProgramStart::Problem problem, const std::string& text) {
    const std::string shown = vt::i18n::TrLines(text::kContext, text);
    std::fprintf(stderr, "vantelo: %s\n", shown.c_str());
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        WindowProgram::ProblemBox(problem, shown)->exec();
}

// Runs `task` on the window's thread (from any thread).
void OnWindowThread(std::function<void()> task) {
    QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
}

// Milliseconds since this process was started (the kernel's start time, in
// clock ticks since boot).
long long ProcessAgeMs() {
    std::FILE* stat = std::fopen("/proc/self/stat", "r");
    if (!stat)
        return -1;
    char text[1024] = {};
    const std::size_t n = std::fread(text, 1, sizeof text - 1, stat);
    std::fclose(stat);
    text[n] = 0;
    // Field 22 (starttime); the fields after the ")" that ends the name.
    const char* p = std::strrchr(text, ')');
    unsigned long long startTicks = 0;
    for (int field = 2; p && *p && field < 22; ++p)
        if (*p == ' ')
            ++field;
    if (!p || std::sscanf(p, "%llu", &startTicks) != 1)
        return -1;
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    const long long nowMs = now.tv_sec * 1000LL + now.tv_nsec / 1000000;
    return nowMs - static_cast<long long>(startTicks * 1000 / ::sysconf(_SC_CLK_TCK));
}

// VANTELO_STARTUP_PROBE=1: prints the milliseconds from the process start to
// the window's first paint, then ends the program (start-up measurement).
class StartupProbe : public QObject {
public:
    explicit StartupProbe(QWidget& window) { window.installEventFilter(this); }

private:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            // After this paint has been drawn.
            QTimer::singleShot(0, qApp, [] {
                std::printf("startup-ms %lld\n", ProcessAgeMs());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }
    bool done_ = false;
};

}  // namespace

std::unique_ptr<QMessageBox> WindowProgram::ProblemBox(ProgramStart::Problem problem,
                                                       const std::string& text) {
    using Problem = ProgramStart::Problem;
    const QString title = problem == Problem::AlreadyRunning ? QStringLiteral("Error")
                          : problem == Problem::LockFailed   ? QStringLiteral("Error!")
                                                             : QStringLiteral("Vantelo");
    auto box = std::make_unique<QMessageBox>(
        problem == Problem::Other ? QMessageBox::Information : QMessageBox::Critical, title,
        vt::widgets::Q(text), QMessageBox::Ok);
    // Seen even when the running program's window covers the screen.
    if (problem == Problem::AlreadyRunning)
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
    return box;
}

int WindowProgram::Run(int argc, char** argv) {
    // Signals are taken by one thread of ours, so block them before any
    // thread (Qt's, ours or the line library's) starts.
    SignalWatcher::BlockSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantelo"));
    QApplication::setDesktopFileName(QStringLiteral("vantelo"));
    // The catalogs main() loaded also serve the widgets' tr().
    vt::i18n::InstallIntoApplication();
    // Hiding the window to the tray is no reason to end.
    QApplication::setQuitOnLastWindowClosed(false);

    ProgramStart start;
    if (!start.Begin(Report))
        return 1;
    const auto& appFolder = start.AppFolder();

    LindevLine line;
    pages::WindowSetup setup;
    setup.database = DatabaseIn(appFolder);
    // Made once the window is; the settings page reaches it from the start.
    std::unique_ptr<AddressBookSync> addressBook;
    setup.addressBookSaved = [&addressBook] {
        if (addressBook)
            addressBook->Start();
    };
    setup.syncAddressBook = [&addressBook] {
        if (addressBook)
            addressBook->SyncNow();
    };
    pages::PhoneBinding binding({line, vt::SystemClock::Instance(),
                                 PhoneController::Places{appFolder, vt::SettingsFilePath()},
                                 setup});
    if (!binding.OpenError().empty()) {
        Report(ProgramStart::Problem::Other, binding.OpenError());
        return 1;
    }
    binding.SetOnExit([] { QCoreApplication::exit(0); });

    RingNotifier notifier;
    binding.SetRingObserver([&](const std::optional<std::string>& shown) {
        if (!shown)
            return notifier.Ended();
        const PhoneState& state = binding.Phone().State();
        const std::string& number = state.callerNumber;
        notifier.Ringing(number.empty() ? std::string() : state.call.CallName, number);
    });

    MessageNotifier messageNotifier;
    // Only failures reach the status line: it tells the phone's state, and
    // a mail sent is no news there.
    MessageMailer mailer(OnWindowThread, [&binding](const notify::MailStatus& status) {
        if (status.failure != notify::MailFailure::None)
            binding.SetStatusText(status.line);
    });
    mailer.Start();
    binding.SetMessageObserver([&](const NewMessage& message) {
        messageNotifier.Arrived(message);
        mailer.Arrived(message);
    });
    // Its line goes to the status line once the phone has said its own.
    std::string callerIdProblem;
    CallerIdService callerId(appFolder, setup.database);
    callerId.Start([&callerIdProblem](const std::string& line) {
        std::fprintf(stderr, "vantelo: %s\n", line.c_str());
        callerIdProblem = line;
    });
    // On a shared database the pages follow the other desks' changes, and
    // their rings show here too.
    DeskRingNotifier deskNotifier;
    OtherDesks otherDesks(
        OnWindowThread,
        {[&binding](const std::set<std::string>& tables) { binding.TablesChanged(tables); },
         [&binding, &deskNotifier](const RingAnnouncement& ring) {
             if (ring.kind == RingAnnouncement::Kind::Ringing)
                 binding.ShowDeskRing(ring.desk, ring.PopupText());
             else
                 binding.EndDeskRing(ring.desk);
             deskNotifier.Told(ring);
         }});
    otherDesks.Start(setup.database, DeskName());
    LineWatchers watchers{callerId.Watcher(), otherDesks.Watcher()};
    binding.Phone().SetLineWatcher(watchers.OrNull());
    DirectoryNamer namer(
        OnWindowThread,
        [&binding](const std::string& number, const std::string& name) {
            binding.Phone().DirectoryAnswered(number, name);
        },
        [&binding](const std::string& line) { binding.SetStatusText(line); },
        vt::SystemClock::Instance());
    if (namer.Start())
        binding.Phone().SetCallerDirectory(&namer);

    // The address book syncs on its own thread; its news reaches the status
    // line, and a book changed here is shown again.
    addressBook = std::make_unique<AddressBookSync>(
        OnWindowThread,
        [&binding](const std::string& statusLine, bool contactsChanged) {
            binding.SetStatusText(statusLine);
            if (contactsChanged)
                binding.ContactsChanged();
        },
        setup.database);

    // The line opens after the window's first paint; what needs the phone
    // started waits for that.
    DeferredStart deferred(binding.WindowWidget(), [&binding, &callerIdProblem, &addressBook] {
        binding.Start();
        if (!callerIdProblem.empty())
            binding.SetStatusText(callerIdProblem);
        addressBook->Start();
    });
    auto whenStarted = [&deferred](std::function<void()> task) {
        OnWindowThread(
            [&deferred, task = std::move(task)]() mutable { deferred.Run(std::move(task)); });
    };

    vt::RequestServer server(ProgramStart::RequestHandler(
        whenStarted,
        [&binding](std::uint32_t kind, const std::string& payload) {
            binding.Phone().OnCopyData(kind, payload);
        },
        [&binding] { binding.OnExitCommand(); }));
    std::string serverError;
    if (!server.Start(&serverError))
        Report(ProgramStart::Problem::Other, serverError);
    SignalWatcher endSignals([&] { whenStarted([&binding] { binding.ExitUnattended(); }); });

    // Made after the deferred start, so it sees the first paint first (the
    // newest filter runs first) and reports before the line opens.
    std::unique_ptr<StartupProbe> probe;
    if (const char* p = std::getenv("VANTELO_STARTUP_PROBE"); p && *p == '1')
        probe = std::make_unique<StartupProbe>(binding.WindowWidget());
    binding.WindowWidget().show();
    const int status = QApplication::exec();
    binding.Phone().SetLineWatcher(nullptr);
    binding.Phone().SetCallerDirectory(nullptr);
    server.Stop();
    addressBook.reset();  // its thread ends before the window goes
    return status;
}

}  // namespace vantelo
