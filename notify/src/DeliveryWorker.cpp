#include "notify/DeliveryWorker.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "notify/MailPassword.h"
#include "platform/Translate.h"

namespace notify {

namespace fs = std::filesystem;

DeliveryWorker::DeliveryWorker(Outbox& outbox, MailSettings settings, StatusFn status,
                               DeliveryTiming timing)
    : outbox_(outbox),
      settings_(std::move(settings)),
      status_(std::move(status)),
      timing_(std::move(timing)) {}

DeliveryWorker::~DeliveryWorker() {
    Stop();
}

bool DeliveryWorker::Start() {
    if (thread_.joinable())
        return true;
    stop_ = false;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void DeliveryWorker::Wake() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
}

void DeliveryWorker::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool DeliveryWorker::TakeLock() {
    if (lockFd_ >= 0)
        return true;
    const auto file = outbox_.Folder() / ".lock";
    lockFd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd_ < 0)
        return false;
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(lockFd_);
        lockFd_ = -1;
        return false;
    }
    return true;
}

void DeliveryWorker::ReleaseLock() {
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = -1;
}

void DeliveryWorker::Report(const MailStatus& status) {
    // A server that stays down is told once, not at every try.
    if (status.failure != MailFailure::None && status.failure == lastReported_ &&
        status.line == lastLine_)
        return;
    lastReported_ = status.failure;
    lastLine_ = status.line;
    if (status_)
        status_(status);
}

void DeliveryWorker::WaitUntil(std::chrono::steady_clock::time_point deadline, bool wakeable) {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_until(lock, deadline, [&] { return stop_ || (wakeable && woken_); });
    if (wakeable)
        woken_ = false;
}

void DeliveryWorker::Run() {
    const PasswordLookup password = FindMailPassword(settings_, timing_.secretWait);
    if (!password.ok) {
        Report({MailFailure::Password, password.error, {}});
        return;
    }
    const SmtpSender sender(settings_, password.password, timing_.limits);
    RetrySchedule schedule(timing_.firstRetry, timing_.maxRetry);
    bool toldLocked = false;
    while (!stop_) {
        if (!TakeLock()) {
            if (!toldLocked)
                Report(
                    {MailFailure::Outbox,
                     "mail: " + vt::Translate("notify",
                                              QT_TRANSLATE_NOOP("notify",
                                                                "다른 Vantelo 프로그램이 보낼 "
                                                                "편지함 %1을(를) 보내는 중입니다; "
                                                                "끝나기를 기다립니다"),
                                              {outbox_.Folder().string()}),
                     {}});
            toldLocked = true;
            WaitUntil(std::chrono::steady_clock::now() + timing_.rescan, false);
            continue;
        }
        const auto item = outbox_.Oldest();
        if (!item) {
            WaitUntil(std::chrono::steady_clock::now() + timing_.rescan, true);
            continue;
        }
        // An attachment someone removed from the outbox does not hold the
        // message back: it goes without.
        std::error_code ec;
        const bool attached = !item->attachment.empty() && fs::exists(item->attachment, ec);
        const auto mail = MessageToMail(item->message, item->attach,
                                        attached ? item->attachment : fs::path(), item->id);
        const SendOutcome outcome = sender.Send(mail, &stop_);
        if (outcome.failure == MailFailure::Stopped)
            break;
        if (outcome.Sent()) {
            schedule.Succeeded();
            std::string error;
            // Removed before anything else is looked at, so nothing here
            // sends it again.
            if (!outbox_.Remove(*item, &error)) {
                Report({MailFailure::Outbox,
                        vt::Translate("notify",
                                      QT_TRANSLATE_NOOP("notify",
                                                        "%1; 두 번 보내지 않도록 보내기를 "
                                                        "멈춥니다"),
                                      {error}),
                        item->id});
                break;
            }
            Report({MailFailure::None,
                    "mail: " + vt::Translate("notify",
                                             QT_TRANSLATE_NOOP("notify",
                                                               "%1에서 %2에 온 메시지를 "
                                                               "보냈습니다"),
                                             {item->message.number, item->message.start}),
                    item->id});
            continue;
        }
        Report({outcome.failure, outcome.line, item->id});
        const auto wait = schedule.Failed();
        WaitUntil(std::chrono::steady_clock::now() + wait, false);
    }
    ReleaseLock();
}

}  // namespace notify
