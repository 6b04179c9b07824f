#include "notify/MailService.h"

#include "platform/Translate.h"

namespace notify {

MailService::MailService(StatusFn status, MailServiceOptions options)
    : status_(std::move(status)), options_(std::move(options)) {}

MailService::~MailService() {
    Stop();
}

void MailService::Tell(MailFailure failure, const std::string& line) {
    if (status_)
        status_({failure, line, {}});
}

bool MailService::Start() {
    Stop();
    std::string error;
    auto settings = LoadMailSettings(&error, options_.settingsFile);
    if (!settings) {
        settings_ = {};
        Tell(MailFailure::Settings, error);
        return false;
    }
    settings_ = *settings;
    if (!settings_.Enabled())
        return false;
    outbox_ = std::make_unique<Outbox>(options_.outbox.empty() ? Outbox::DefaultFolder()
                                                               : options_.outbox);
    if (!outbox_->Open(&error)) {
        Tell(MailFailure::Outbox, error);
        outbox_.reset();
        settings_ = {};
        return false;
    }
    worker_ = std::make_unique<DeliveryWorker>(*outbox_, settings_, status_, options_.timing);
    if (!worker_->Start()) {
        worker_.reset();
        Tell(MailFailure::Other,
             "mail: " + vt::Translate("notify", QT_TRANSLATE_NOOP(
                                                    "notify", "배달 스레드를 시작할 수 없습니다")));
        return false;
    }
    return true;
}

bool MailService::Enqueue(const MessageMail& message) {
    if (!outbox_)
        return false;
    std::string error;
    if (!outbox_->Add(message, settings_.attach, &error)) {
        Tell(MailFailure::Outbox, error);
        return false;
    }
    if (worker_)
        worker_->Wake();
    return true;
}

void MailService::Stop() {
    if (worker_)
        worker_->Stop();
    worker_.reset();
}

}  // namespace notify
