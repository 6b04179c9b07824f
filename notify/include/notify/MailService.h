#pragma once
// New messages by e-mail, for the window and headless programs to own:
// Start reads [Mail] and starts delivering the outbox, Enqueue puts a
// message in the outbox, Stop ends delivery promptly. Status lines (one per
// failure kind, and each mail sent) go to the callback, on the delivery
// thread: a window posts them to its own thread.

#include <functional>
#include <memory>
#include <string>

#include "notify/DeliveryWorker.h"
#include "notify/MailSettings.h"
#include "notify/MailStatus.h"
#include "notify/MessageMail.h"
#include "notify/Outbox.h"

namespace notify {

struct MailServiceOptions {
    std::filesystem::path settingsFile;  // empty: vt::SettingsFilePath()
    std::filesystem::path outbox;        // empty: Outbox::DefaultFolder()
    DeliveryTiming timing;
};

class MailService {
public:
    using StatusFn = std::function<void(const MailStatus&)>;

    explicit MailService(StatusFn status, MailServiceOptions options = {});
    ~MailService();
    MailService(const MailService&) = delete;
    MailService& operator=(const MailService&) = delete;

    // Reads the settings and starts delivery. False when mail is off (no
    // Server: no line) or cannot work (one status line). With settings but
    // no usable password, messages are still kept in the outbox.
    bool Start();
    bool Enabled() const { return settings_.Enabled(); }

    // Puts the message in the outbox and wakes delivery. The attachment is
    // prepared on the calling thread (about 25 ms for a 30 s message as MP3)
    // so the message is safe on disk when this returns. False when mail is
    // off or the item cannot be written (one status line).
    bool Enqueue(const MessageMail& message);

    void Stop();

private:
    void Tell(MailFailure failure, const std::string& line);

    StatusFn status_;
    MailServiceOptions options_;
    MailSettings settings_;
    std::unique_ptr<Outbox> outbox_;
    std::unique_ptr<DeliveryWorker> worker_;
};

}  // namespace notify
