#include "vantelo/app/HeadlessProgram.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "i18n/Translations.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/RequestServer.h"
#include "platform/TranslateNoop.h"
#include "vantelo/app/AddressBookSync.h"
#include "vantelo/app/CallerIdService.h"
#include "vantelo/app/DirectoryNamer.h"
#include "vantelo/app/EventLoop.h"
#include "vantelo/app/HeadlessView.h"
#include "vantelo/app/LindevLine.h"
#include "vantelo/app/MessageMailer.h"
#include "vantelo/app/OtherDesks.h"
#include "vantelo/app/ProgramStart.h"
#include "vantelo/app/SignalWatcher.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/DeskIdentity.h"
#include "vantelo/core/LineWatchers.h"
#include "vantelo/core/PhoneController.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

namespace {

constexpr int kPollMs = 200;
constexpr const char* kContext = "vantelo";
constexpr const char* kKeyNeedsDigit =
    QT_TRANSLATE_NOOP("vantelo", "key에는 0-9, *, # 중 하나가 필요합니다");
constexpr const char* kPlayNeedsFile = QT_TRANSLATE_NOOP("vantelo", "play에는 파일이 필요합니다");
constexpr const char* kUnknownAction = QT_TRANSLATE_NOOP(
    "vantelo",
    "알 수 없는 동작: %1 (hook, key 숫자, number 텍스트, redial, flash, pickup, mute, record, "
    "play 파일, ars, memo 텍스트, sync, quit)");

// Reads standard input line by line until its end or `stop`.
void ReadActions(const std::atomic<bool>& stop, const std::function<void(std::string)>& onLine) {
    std::string pending;
    char buffer[512];
    while (!stop) {
        pollfd p{0, POLLIN, 0};
        const int ready = ::poll(&p, 1, kPollMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        const ssize_t n = ::read(0, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;  // end of input: the phone runs on
        pending.append(buffer, static_cast<std::size_t>(n));
        for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            onLine(std::move(line));
        }
        if (pending.size() > 4096)
            pending.clear();  // no action is that long
    }
}

}  // namespace

bool HeadlessProgram::Perform(PhoneController& phone, HeadlessView& view, const std::string& line,
                              std::string& error) {
    const auto space = line.find(' ');
    const std::string verb = line.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
    if (verb.empty())
        return true;
    if (verb == "hook") {
        phone.HookButton();
    } else if (verb == "key") {
        if (rest.size() != 1 || !std::strchr("0123456789*#", rest[0])) {
            error = vt::i18n::Tr(kContext, kKeyNeedsDigit);
            return false;
        }
        phone.KeypadDigit(rest[0]);
    } else if (verb == "number") {
        phone.SetDialNumber(rest);
    } else if (verb == "redial") {
        phone.RedialButton();
    } else if (verb == "flash") {
        phone.FlashButton();
    } else if (verb == "pickup") {
        phone.PickUpButton();
    } else if (verb == "mute") {
        phone.MuteButton();
    } else if (verb == "record") {
        phone.RecordButton();
    } else if (verb == "play") {
        if (rest.empty()) {
            error = vt::i18n::Tr(kContext, kPlayNeedsFile);
            return false;
        }
        phone.PlayButton(&rest);
    } else if (verb == "ars") {
        phone.ArsButton();
    } else if (verb == "memo") {
        view.SetMemoText(rest);
        phone.SaveMemoButton();
    } else {
        error = vt::i18n::Tr(kContext, kUnknownAction, {verb});
        return false;
    }
    return true;
}

int HeadlessProgram::Run() {
    // Signals are taken by one thread of ours, so block them before any
    // thread (ours or the line library's) starts.
    SignalWatcher::BlockSignals();

    HeadlessView view;
    ProgramStart start;
    if (!start.Begin(
            [&view](ProgramStart::Problem, const std::string& text) { view.MessageBox(text); }))
        return 1;
    const auto& appFolder = start.AppFolder();

    const vt::Clock& clock = vt::SystemClock::Instance();
    const std::filesystem::path database = DatabaseIn(appFolder);
    DatabasePhoneStore store(clock, database, appFolder);
    if (!store.OpenError().empty()) {
        view.MessageBox(store.OpenError());
        return 1;
    }
    if (!store.OpenNotice().empty())
        view.SetStatusText(store.OpenNotice());
    EventLoop loop;
    LindevLine line;
    PhoneController phone(line, view, loop, store, clock, &loop,
                          PhoneController::Places{appFolder, vt::SettingsFilePath()});
    loop.SetMessageHandler(
        [&phone](vt::UINT m, vt::WPARAM w, vt::LPARAM l) { phone.OnMessage(m, w, l); });
    loop.SetTimerSink(&phone);
    // The log a client gets at connect is the office's, on a shared store.
    CallerIdService callerId(appFolder, database);
    callerId.Start([&view](const std::string& line) { view.Notice("callerid: " + line); });
    // On a shared database the other desks' rings are lines of their own.
    OtherDesks otherDesks([&loop](std::function<void()> task) { loop.PostTask(std::move(task)); },
                          {{}, [&view](const RingAnnouncement& ring) {
                               view.Notice("notice: " + OtherDesks::NoticeLine(ring));
                           }});
    otherDesks.Start(DatabaseIn(appFolder), DeskName());
    LineWatchers watchers{callerId.Watcher(), otherDesks.Watcher()};
    phone.SetLineWatcher(watchers.OrNull());
    // Queued before any request or action can be, so none finds the phone
    // without its settings.
    loop.PostTask([&phone] { phone.Start(); });
    auto exitSequence = [&phone, &loop] {
        if (phone.ExitSequence())
            loop.Quit();
    };

    vt::RequestServer server(ProgramStart::RequestHandler(
        [&loop](std::function<void()> task) { loop.PostTask(std::move(task)); },
        [&phone](std::uint32_t kind, const std::string& payload) {
            phone.OnCopyData(kind, payload);
        },
        exitSequence));
    std::string serverError;
    if (!server.Start(&serverError))
        view.MessageBox(serverError);

    SignalWatcher signals([&] { loop.PostTask(exitSequence); });
    // The address book syncs on its own thread; its news is one notice.
    AddressBookSync addressBook(
        [&loop](std::function<void()> task) { loop.PostTask(std::move(task)); },
        [&view](const std::string& line, bool) { view.Notice(line); },
        appFolder / kDatabaseFileName);
    addressBook.Start();
    std::atomic<bool> stop{false};
    std::thread inputThread([&] {
        ReadActions(stop, [&](std::string action) {
            loop.PostTask([&, action] {
                if (action == "quit") {
                    exitSequence();
                    return;
                }
                if (action == "sync") {
                    addressBook.SyncNow();
                    return;
                }
                std::string error;
                if (!Perform(phone, view, action, error))
                    std::fprintf(stderr, "vantelo: %s\n", error.c_str());
            });
        });
    });

    MessageMailer mailer([&loop](std::function<void()> task) { loop.PostTask(std::move(task)); },
                         [&view](const notify::MailStatus& status) { view.Notice(status.line); });
    mailer.Start();
    view.SetMessageObserver([&mailer](const NewMessage& message) { mailer.Arrived(message); });
    DirectoryNamer namer([&loop](std::function<void()> task) { loop.PostTask(std::move(task)); },
                         [&phone](const std::string& number, const std::string& name) {
                             phone.DirectoryAnswered(number, name);
                         },
                         [&view](const std::string& line) { view.Notice(line); }, clock);
    if (namer.Start())
        phone.SetCallerDirectory(&namer);

    loop.Run();
    view.SetMessageObserver({});
    phone.SetLineWatcher(nullptr);
    phone.SetCallerDirectory(nullptr);

    stop = true;
    inputThread.join();
    server.Stop();
    return 0;
}

}  // namespace vantelo
