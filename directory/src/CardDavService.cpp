#include "directory/CardDavService.h"

#include "directory/CardDavTexts.h"
#include "i18n/Translations.h"

namespace directory {

CardDavService::CardDavService(std::filesystem::path database, Sink sink)
    : database_(std::move(database)), sink_(std::move(sink)) {}

CardDavService::~CardDavService() {
    Stop();
}

void CardDavService::Start(const CardDavSettings& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
    now_ = true;
    if (!thread_.joinable()) {
        stop_ = false;
        abort_ = false;
        thread_ = std::thread([this] { Loop(); });
    }
    wake_.notify_all();
}

void CardDavService::SyncNow() {
    std::lock_guard lock(mutex_);
    now_ = true;
    wake_.notify_all();
}

void CardDavService::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        abort_ = true;
        wake_.notify_all();
    }
    if (thread_.joinable())
        thread_.join();
}

void CardDavService::Loop() {
    std::string lastLine;
    while (true) {
        CardDavSettings settings;
        {
            std::unique_lock lock(mutex_);
            const auto interval = std::chrono::minutes(settings_.syncMinutes);
            wake_.wait_for(lock, interval, [this] { return stop_ || now_; });
            if (stop_)
                return;
            now_ = false;
            settings = settings_;
        }
        if (!settings.Enabled())
            continue;
        CardDavReport report;
        std::string line;
        const notify::PasswordLookup password = FindCardDavPassword(settings);
        if (!password.ok) {
            line = vt::i18n::Tr(texts::kContext, texts::kNoPassword, {password.error});
        } else {
            // Short connect time: a server that is away is told within seconds.
            CardDavSync sync(settings, password.password, database_, 5, 120, &abort_);
            report = sync.Run();
            if (abort_)
                return;
            line = report.StatusLine(settings.user);
        }
        // The same trouble again is not news: one line until it changes.
        if (line != lastLine || !report.changes.empty())
            sink_(report, line);
        lastLine = line;
    }
}

}  // namespace directory
