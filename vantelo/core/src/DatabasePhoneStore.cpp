#include "vantelo/core/DatabasePhoneStore.h"

#include <utility>

#include "storage/Filter.h"
#include "vantelo/core/DeskIdentity.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/core/RecordingRemoval.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

DatabasePhoneStore::DatabasePhoneStore(const vt::Clock& clock, std::filesystem::path database)
    : clock_(clock),
      database_(std::move(database)),
      inbox_(std::make_unique<MessageInbox>(database_)) {
    auto prepared = PrepareDatabase(clock_, database_);
    const bool shared = IsSharedDatabase(database_);
    if (!prepared.ok()) {
        openError_ = shared ? ServerFailureNotice(prepared.status()) : prepared.status().ToString();
        return;
    }
    if (shared)
        notice_ = ServerPrepareNotice(prepared.value());
    storage::Status s = addressList_.Open(database_);
    if (s.ok())
        s = innerLineList_.Open(database_);
    if (!s.ok())
        openError_ = shared ? ServerFailureNotice(s) : s.ToString();
    callList_ = std::make_unique<CRSCallList>(database_);
    blockList_ = std::make_unique<CRSBlockList>(database_);
    if (shared && openError_.empty())
        uploader_ = std::make_unique<RecordingUploader>(database_, DeskName());
}

CallerName DatabasePhoneStore::IdentifyCaller(const std::string& number,
                                              const std::string& strExt) {
    if (!addressList_.IsOpen() || !innerLineList_.IsOpen())
        return {};
    auto caller = vantelo::IdentifyCaller(number, strExt, addressList_, innerLineList_);
    return caller.ok() ? caller.value() : CallerName{};
}

bool DatabasePhoneStore::AppendCall(CallRecord& call, std::string& error) {
    const bool message = MessageInbox::IsMessage(call);  // the append resets the call
    const bool recorded = call.CallRec && !call.CallRecFileName.empty();
    const std::filesystem::path recording = RecordingRemoval::FileOf(call);
    storage::Status s = callList_->AppendCall(call, clock_);
    if (!s.ok()) {
        error = s.ToString();
        return false;
    }
    lastAppended_ = callList_->GetLastModified();
    if (uploader_ && recorded)
        uploader_->Add({callList_->LastAppendedUid(), recording});
    if (message) {
        const long long id = lastAppended_;
        // A deleted call's number may come again; its mark must not make
        // this message heard.
        (void)inbox_->Forget(id);
        arrived_.push_back(id);
    }
    return true;
}

bool DatabasePhoneStore::NameLoggedCall(long long callId, const std::string& number,
                                        const std::string& name) {
    // A record set of its own: the append set keeps its place at the end.
    storage::RecordSet calls(CallListSchema());
    storage::Status s = calls.Open(database_);
    if (s.ok())
        s = calls.ApplyFilter("[CallNum] = " + storage::QuoteText(number) + " AND [CallName] = ''");
    for (long i = 0; s.ok() && i < calls.GetRecordCount(); ++i) {
        s = calls.SetAbsolutePosition(i);
        auto id = s.ok() ? calls.GetRecordId() : storage::Result<std::int64_t>(s);
        if (!id.ok() || id.value() != callId)
            continue;
        s = calls.Edit();
        if (s.ok())
            s = calls.SetField("CallName", name);
        if (s.ok())
            s = calls.Update();
        if (!s.ok())
            calls.CancelUpdate();
        return s.ok();
    }
    return false;
}

std::optional<std::vector<NewMessage>> DatabasePhoneStore::NewMessages() {
    if (!inbox_)
        return std::nullopt;
    auto messages = inbox_->NewMessages();
    if (!messages.ok())
        return std::nullopt;
    return std::move(messages).value();
}

bool DatabasePhoneStore::MessagesMayHaveChanged() {
    if (!inbox_)
        return false;
    auto changed = inbox_->ChangedSinceRead();
    return !changed.ok() || changed.value();
}

std::vector<long long> DatabasePhoneStore::TakeArrivedMessages() {
    return std::exchange(arrived_, {});
}

ScreeningDecision DatabasePhoneStore::Screen(const ScreenedCaller& caller,
                                             const vt::LocalTime& at) {
    // Read at each call, so rules added meanwhile (settings page, vtdb) count.
    auto rules = blockList_->Rules();
    if (!rules.ok())
        return {};
    ScreeningDecision decision = Decide(rules.value(), caller);
    // A hit that cannot be counted still keeps the caller out.
    if (!decision.pattern.empty())
        (void)blockList_->RecordHit(decision.pattern, at);
    return decision;
}

std::optional<std::set<std::string>> DatabasePhoneStore::RecordingsNamedIn(
    const std::string& folder) {
    CRSCallList set(database_);
    // The folder goes into the filter as a quoted text ('' for a quote).
    std::string quoted;
    for (char c : folder) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    if (!set.Open().ok() || !set.ApplyFilter("[CallRecDirectory] = '" + quoted + "'").ok())
        return std::nullopt;
    std::set<std::string> names;
    for (long i = 0; i < set.GetRecordCount(); ++i) {
        if (!set.SetAbsolutePosition(i).ok())
            return std::nullopt;
        auto call = set.CurrentCall();
        if (!call.ok())
            return std::nullopt;
        if (call.value().CallRec)
            names.insert(call.value().CallRecFileName);
    }
    return names;
}

}  // namespace vantelo
