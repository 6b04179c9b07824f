#include "vantelo/core/DatabasePhoneStore.h"

#include <utility>

#include "storage/Filter.h"
#include "vantelo/core/DeskIdentity.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/RecordingRemoval.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

DatabasePhoneStore::DatabasePhoneStore(const vt::Clock& clock, std::filesystem::path database,
                                       std::filesystem::path appFolder)
    : clock_(clock), database_(std::move(database)) {
    if (IsSharedDatabase(database_)) {
        spool_ = std::make_unique<CallSpool>(clock_, appFolder / CallSpool::kFileName);
        copy_ =
            std::make_unique<OfflineCopy>(clock_, database_, appFolder / OfflineCopy::kFileName);
    }
    if (Connect() && spool_)
        HandOverSpool();
    if (copy_)
        copy_->Start(kServerLookMs);
}

DatabasePhoneStore::~DatabasePhoneStore() = default;

bool DatabasePhoneStore::Connect() {
    openError_.clear();
    inbox_ = std::make_unique<MessageInbox>(database_);
    callList_ = std::make_unique<CRSCallList>(database_);
    blockList_ = std::make_unique<CRSBlockList>(database_);
    addressList_.Close();
    innerLineList_.Close();
    auto prepared = PrepareDatabase(clock_, database_);
    const bool shared = IsSharedDatabase(database_);
    if (!prepared.ok()) {
        if (Lost(prepared.status())) {
            GoAway();
            return false;
        }
        openError_ = shared ? ServerFailureNotice(prepared.status()) : prepared.status().ToString();
        return true;
    }
    if (shared)
        notice_ = ServerPrepareNotice(prepared.value());
    storage::Status s = addressList_.Open(database_);
    if (s.ok())
        s = innerLineList_.Open(database_);
    if (Lost(s)) {
        GoAway();
        return false;
    }
    if (!s.ok())
        openError_ = shared ? ServerFailureNotice(s) : s.ToString();
    if (shared && openError_.empty() && !uploader_)
        uploader_ = std::make_unique<RecordingUploader>(database_, DeskName());
    return true;
}

bool DatabasePhoneStore::Lost(const storage::Status& s) {
    return spool_ && s.code() == storage::ErrorCode::Io;
}

void DatabasePhoneStore::GoAway() {
    if (!away_)
        pendingNotice_ = text::kSharedStoreAway;
    away_ = true;
    if (copy_)
        copy_->Wake();  // so it learns at once that the server is gone
}

int DatabasePhoneStore::HandOverKeptCalls() {
    if (!spool_ || (away_ && copy_->ServerAnswered() == false))
        return 0;
    if (away_) {
        if (!Connect())
            return 0;
        away_ = false;
        pendingNotice_ = text::kSharedStoreBack;
    }
    int handed = 0;
    HandOverSpool(&handed);
    return handed;
}

bool DatabasePhoneStore::HandOverSpool(int* handed) {
    auto count = spool_->Count();
    if (count.ok() && count.value() == 0)
        return true;
    auto done = spool_->HandOver(
        [this](CallRecord& call, const std::string& uid) { return Store(call, uid, true); });
    if (handed)
        *handed = done.ok() ? done.value() : 0;
    if (!done.ok() && Lost(done.status()))
        GoAway();
    return done.ok();
}

storage::Status DatabasePhoneStore::Store(CallRecord& call, const std::string& uid,
                                          bool mayBeStored) {
    if (mayBeStored) {
        auto stored = callList_->HasCall(uid);
        if (!stored.ok() || stored.value())
            return stored.status();
    }
    // The append resets the call.
    const bool message = MessageInbox::IsMessage(call);
    const bool recorded = call.CallRec && !call.CallRecFileName.empty();
    const std::filesystem::path recording = RecordingRemoval::FileOf(call);
    storage::Status s = callList_->AppendCall(call, clock_, uid);
    if (!s.ok())
        return s;
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
    return s;
}

CallerName DatabasePhoneStore::IdentifyCaller(const std::string& number,
                                              const std::string& strExt) {
    if (!away_ && addressList_.IsOpen() && innerLineList_.IsOpen()) {
        auto caller = vantelo::IdentifyCaller(number, strExt, addressList_, innerLineList_);
        if (caller.ok())
            return caller.value();
        if (!Lost(caller.status()))
            return {};
        GoAway();
    }
    if (!away_ || !copy_)
        return {};
    CRSAddressList contacts;
    CRSInnerLineList innerLines;
    if (!contacts.Open(copy_->File()).ok() || !innerLines.Open(copy_->File()).ok())
        return {};
    auto caller = vantelo::IdentifyCaller(number, strExt, contacts, innerLines);
    return caller.ok() ? caller.value() : CallerName{};
}

bool DatabasePhoneStore::AppendCall(CallRecord& call, std::string& error) {
    lastAppended_ = 0;
    storage::Status s;
    if (!spool_) {
        s = Store(call, NewCallUid(), false);
    } else {
        // The id goes with the call from its first try, so a write that
        // reached the server before the answer was lost is not doubled.
        const std::string uid = NewCallUid();
        if (!away_ && HandOverSpool()) {
            s = Store(call, uid, false);
            if (!Lost(s)) {
                if (!s.ok())
                    error = s.ToString();
                return s.ok();
            }
            GoAway();
        }
        s = spool_->Keep(call, uid);
        if (s.ok())
            call.Reset(clock_);
    }
    if (!s.ok())
        error = s.ToString();
    return s.ok();
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
    CRSBlockList* list = blockList_.get();
    std::unique_ptr<CRSBlockList> copied;
    // Read at each call, so rules added meanwhile (settings page, vtdb) count.
    auto rules = away_ ? storage::Result<std::vector<ScreeningRule>>(
                             storage::Status(storage::ErrorCode::Io, "away"))
                       : list->Rules();
    if (!rules.ok() && Lost(rules.status())) {
        GoAway();
        // The desk's copy of the rules keeps callers out meanwhile.
        copied = std::make_unique<CRSBlockList>(copy_->File());
        list = copied.get();
        rules = list->Rules();
    }
    if (!rules.ok())
        return {};
    ScreeningDecision decision = Decide(rules.value(), caller);
    // A hit that cannot be counted still keeps the caller out.
    if (!decision.pattern.empty())
        (void)list->RecordHit(decision.pattern, at);
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
