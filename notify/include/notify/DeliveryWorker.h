#pragma once
// The thread that empties the outbox: it looks the password up (on its own
// thread, so a slow Secret Service holds no window), sends the oldest item,
// removes it once the server accepted it, and waits with back-off while the
// server fails. Only one worker of any process delivers an outbox at a time (a lock
// file in the folder), so an accepted item is removed before anything else
// can send it again.
//
// The one window left is a crash between the server's acceptance and the
// removal: the item is then sent again after the restart. Losing a message
// is worse than a second copy, so the item stays until acceptance.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "notify/MailSettings.h"
#include "notify/MailStatus.h"
#include "notify/Outbox.h"
#include "notify/RetrySchedule.h"
#include "notify/SmtpSender.h"

namespace notify {

struct DeliveryTiming {
    SendLimits limits;
    // The longest wait for the Secret Service.
    std::chrono::milliseconds secretWait{3000};
    RetrySchedule::Duration firstRetry = std::chrono::seconds(5);
    RetrySchedule::Duration maxRetry = std::chrono::minutes(10);
    // How often an idle worker looks at the folder again (items another
    // process added, the lock another process held).
    RetrySchedule::Duration rescan = std::chrono::seconds(30);
};

class DeliveryWorker {
public:
    using StatusFn = std::function<void(const MailStatus&)>;

    // `status` is called on the worker's thread. Without a usable password
    // the thread says so once and ends; the items stay.
    DeliveryWorker(Outbox& outbox, MailSettings settings, StatusFn status,
                   DeliveryTiming timing = {});
    // Stops and joins.
    ~DeliveryWorker();
    DeliveryWorker(const DeliveryWorker&) = delete;
    DeliveryWorker& operator=(const DeliveryWorker&) = delete;

    bool Start();
    // A new item waits: look now (a back-off wait is not cut short).
    void Wake();
    // Ends a send in progress within about a second and joins.
    void Stop();

private:
    void Run();
    bool TakeLock();
    void ReleaseLock();
    void Report(const MailStatus& status);
    // Waits until `deadline`, a stop, or (when `wakeable`) a Wake.
    void WaitUntil(std::chrono::steady_clock::time_point deadline, bool wakeable);

    Outbox& outbox_;
    MailSettings settings_;
    StatusFn status_;
    DeliveryTiming timing_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
    int lockFd_ = -1;
    MailFailure lastReported_ = MailFailure::None;
    std::string lastLine_;
};

}  // namespace notify
