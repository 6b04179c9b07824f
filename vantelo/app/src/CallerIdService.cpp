#include "vantelo/app/CallerIdService.h"

#include "callerid/CallerIdSettings.h"
#include "callerid/CallerIdTexts.h"
#include "i18n/Translations.h"
#include "platform/Clock.h"
#include "platform/IniStore.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/DeskIdentity.h"
#include "vantelo/core/UserLog.h"

namespace vantelo {

namespace {

std::string Say(const callerid::Notice& notice) {
    const auto& a = notice.args;
    const char* context = callerid::text::kContext;
    switch (a.size()) {
        case 0:
            return vt::i18n::Tr(context, notice.text);
        case 1:
            return vt::i18n::Tr(context, notice.text, {a[0]});
        case 2:
            return vt::i18n::Tr(context, notice.text, {a[0], a[1]});
        default:
            return vt::i18n::Tr(context, notice.text, {a[0], a[1], a[2]});
    }
}

}  // namespace

CallerIdService::CallerIdService(std::filesystem::path appFolder, std::filesystem::path database)
    : appFolder_(std::move(appFolder)), database_(std::move(database)) {}

CallerIdService::~CallerIdService() {
    if (server_)
        server_->Stop();
}

bool CallerIdService::Start(const std::function<void(const std::string&)>& say) {
    vt::IniStore settings(vt::SettingsFilePath());
    settings.Load();
    const std::string value = callerid::ServerSetting(settings);
    if (value.empty())
        return false;
    const auto address = callerid::ServerAddress::Parse(value);
    if (!address) {
        say(Say({callerid::text::kBadSetting, {value}}));
        return false;
    }
    auto server = std::make_unique<callerid::CallerIdServer>(
        [folder = appFolder_](const callerid::Notice& notice) {
            UserLog::Append(folder, Say(notice));
        });
    const std::string desk = DeskName();
    auto feed =
        std::make_unique<callerid::CallerIdFeed>(*server, desk, vt::SystemClock::Instance());
    feed->RememberCalls(RecentCalls(database_, desk, kLoggedCalls));
    std::string error;
    if (!server->Start(*address, &error)) {
        say(Say({callerid::text::kCannotListen, {address->text, error}}));
        return false;
    }
    server_ = std::move(server);
    feed_ = std::move(feed);
    return true;
}

std::vector<callerid::CallInfo> CallerIdService::RecentCalls(const std::filesystem::path& database,
                                                             const std::string& desk,
                                                             std::size_t count) {
    std::vector<callerid::CallInfo> calls;
    CRSCallList set(database);
    if (!set.Open().ok())
        return calls;  // no log to tell: clients get an empty one
    for (long i = set.GetRecordCount() - 1; i >= 0 && calls.size() < count; --i) {
        if (!set.SetAbsolutePosition(i).ok())
            break;
        const auto call = set.CurrentCall();
        if (!call.ok())
            continue;
        const CallRecord& c = call.value();
        const bool incoming =
            c.CallMode == kCallReceived || c.CallMode == kCallMissed || c.CallMode == kCallAnswered;
        if (!incoming || c.CallNum.empty())
            continue;
        // On a shared log a call tells the desk whose line it came in on;
        // calls logged before desks were named are this desk's.
        const std::string logged = set.GetText("CallDesk");
        calls.push_back({c.CallDate, logged.empty() ? desk : logged, c.CallNum, c.CallName});
    }
    return {calls.rbegin(), calls.rend()};
}

}  // namespace vantelo
