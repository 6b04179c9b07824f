#include "vantelo/core/MessageInbox.h"

#include <algorithm>
#include <system_error>
#include <unordered_set>

#include "StoreBuffer.h"
#include "platform/Translate.h"
#include "storage/DateTimeText.h"
#include "storage/Filter.h"
#include "storage/Transaction.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

namespace fs = std::filesystem;
using storage::ErrorCode;
using storage::Status;

namespace {

// The machine's calls that recorded something; whether the file is still
// there is asked of the disk.
constexpr const char* kRecordedMachineCalls = "[CallMode] = 3 AND [CallRec] = 1";

fs::path RecordingOf(const CallRecord& call) {
    std::error_code ec;
    fs::path file = fs::path(call.CallRecDirectory) / call.CallRecFileName;
    fs::path absolute = fs::absolute(file, ec);
    return (ec ? file : absolute).lexically_normal();
}

std::string HeardFilter(long long callId) {
    return "[CallId] = " + std::to_string(callId);
}

}  // namespace

MessageInbox::MessageInbox(fs::path database)
    : database_(std::move(database)), calls_(CallListSchema()), heard_(HeardListSchema()) {}

bool MessageInbox::IsMessage(const CallRecord& call) {
    if (call.CallMode != kCallAnswered || !call.CallRec || call.CallRecFileName.empty())
        return false;
    std::error_code ec;
    return fs::is_regular_file(RecordingOf(call), ec);
}

Status MessageInbox::OpenCalls() {
    return calls_.IsOpen() ? Status::Ok() : calls_.Open(database_);
}

Status MessageInbox::OpenHeard() {
    return heard_.IsOpen() ? Status::Ok() : heard_.Open(database_);
}

storage::Result<std::vector<long long>> MessageInbox::RecordedMachineCalls() {
    Status s = OpenCalls();
    if (s.ok())
        s = calls_.ApplyFilter(kRecordedMachineCalls);
    if (!s.ok())
        return s;
    std::vector<long long> ids;
    ids.reserve(static_cast<size_t>(calls_.GetRecordCount()));
    for (long i = 0; i < calls_.GetRecordCount(); ++i) {
        s = calls_.SetAbsolutePosition(i);
        auto id = s.ok() ? calls_.GetRecordId() : storage::Result<std::int64_t>(s);
        if (!id.ok())
            return id.status();
        ids.push_back(id.value());
    }
    return ids;
}

storage::Result<std::vector<long long>> MessageInbox::HeardIds() {
    Status s = OpenHeard();
    if (s.ok())
        s = heard_.ApplyFilter("");
    if (!s.ok())
        return s;
    auto values = heard_.ColumnValues("CallId");
    if (!values.ok())
        return values.status();
    std::vector<long long> ids;
    for (const storage::Value& v : values.value()) ids.push_back(v.AsInteger());
    return ids;
}

storage::Result<std::vector<NewMessage>> MessageInbox::NewMessages() {
    Status s = OpenCalls();
    if (!s.ok())
        return s;
    // Taken before the reads, so a write during them shows as a change.
    auto version = calls_.GetConnection()->DataVersion();
    auto heardIds = HeardIds();
    if (!heardIds.ok())
        return heardIds.status();
    const std::unordered_set<long long> heard(heardIds.value().begin(), heardIds.value().end());
    auto ids = RecordedMachineCalls();
    if (!ids.ok())
        return ids.status();
    std::vector<NewMessage> messages;
    for (size_t i = 0; i < ids.value().size(); ++i) {
        const long long id = ids.value()[i];
        if (heard.count(id))
            continue;
        s = calls_.SetAbsolutePosition(static_cast<long>(i));
        auto call = s.ok() ? CallRecord::Read(calls_) : storage::Result<CallRecord>(s);
        if (!call.ok())
            return call.status();
        const CallRecord& c = call.value();
        if (!IsMessage(c))
            continue;
        messages.push_back({id, c.CallNum, c.CallName, storage::FormatDateTime(c.CallDate),
                            static_cast<int>(c.CallTime), RecordingOf(c).string()});
    }
    if (version.ok())
        readVersion_ = version.value();
    return messages;
}

storage::Result<bool> MessageInbox::ChangedSinceRead() {
    if (!readVersion_ || !calls_.IsOpen())
        return true;
    auto version = calls_.GetConnection()->DataVersion();
    if (!version.ok())
        return version.status();
    return version.value() != *readVersion_;
}

Status MessageInbox::AddMark(long long callId, const vt::LocalTime& at) {
    Status s = heard_.ApplyFilter(HeardFilter(callId));
    if (!s.ok() || heard_.GetRecordCount() > 0)
        return s;
    return StoreBuffer(heard_, heard_.AddNew(), [&] {
        Status set = heard_.SetField("CallId", static_cast<std::int64_t>(callId));
        if (set.ok())
            set = heard_.SetField("HeardAt", storage::FormatDateTime(at));
        return set;
    });
}

Status MessageInbox::MarkHeard(long long callId, const vt::LocalTime& at) {
    auto ids = RecordedMachineCalls();
    if (!ids.ok())
        return ids.status();
    const auto& all = ids.value();
    const auto it = std::find(all.begin(), all.end(), callId);
    if (it == all.end())
        return Status(ErrorCode::NoCurrentRecord,
                      vt::Translate("MessageInbox",
                                    QT_TRANSLATE_NOOP("MessageInbox", "메시지 %1이(가) 없습니다"),
                                    {std::to_string(callId)}));
    Status s = calls_.SetAbsolutePosition(static_cast<long>(it - all.begin()));
    auto call = s.ok() ? CallRecord::Read(calls_) : storage::Result<CallRecord>(s);
    if (!call.ok())
        return call.status();
    if (!IsMessage(call.value()))
        return Status(ErrorCode::NoCurrentRecord,
                      vt::Translate("MessageInbox",
                                    QT_TRANSLATE_NOOP("MessageInbox",
                                                      "메시지 %1이(가) 없습니다: 녹음이 "
                                                      "사라졌습니다"),
                                    {std::to_string(callId)}));
    s = OpenHeard();
    return s.ok() ? AddMark(callId, at) : s;
}

storage::Result<long> MessageInbox::MarkAllHeard(const vt::LocalTime& at) {
    auto messages = NewMessages();
    if (!messages.ok())
        return messages.status();
    if (messages.value().empty())
        return 0L;
    storage::Transaction transaction(*heard_.GetConnection());
    Status s = transaction.Begin();
    for (const NewMessage& m : messages.value())
        if (s.ok())
            s = AddMark(m.callId, at);
    if (s.ok())
        s = transaction.Commit();
    if (!s.ok()) {
        (void)heard_.Requery();  // the adds were rolled back
        return s;
    }
    return static_cast<long>(messages.value().size());
}

storage::Result<bool> MessageInbox::MarkRecordingHeard(const fs::path& file,
                                                       const vt::LocalTime& at) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return false;
    Status s = OpenCalls();
    if (s.ok())
        s = calls_.ApplyFilter(std::string(kRecordedMachineCalls) + " AND [CallRecFileName] = " +
                               storage::QuoteText(file.filename().string()));
    if (!s.ok())
        return s;
    for (long i = 0; i < calls_.GetRecordCount(); ++i) {
        s = calls_.SetAbsolutePosition(i);
        auto call = s.ok() ? CallRecord::Read(calls_) : storage::Result<CallRecord>(s);
        if (!call.ok())
            return call.status();
        if (!fs::equivalent(RecordingOf(call.value()), file, ec) || ec)
            continue;
        auto id = calls_.GetRecordId();
        if (!id.ok())
            return id.status();
        s = OpenHeard();
        if (s.ok())
            s = AddMark(id.value(), at);
        if (!s.ok())
            return s;
        return true;
    }
    return false;
}

Status MessageInbox::Forget(long long callId) {
    Status s = OpenHeard();
    if (s.ok())
        s = heard_.ApplyFilter(HeardFilter(callId));
    while (s.ok() && heard_.GetRecordCount() > 0) {
        s = heard_.MoveFirst();
        if (s.ok())
            s = heard_.Delete();
        if (s.ok())
            s = heard_.Requery();
    }
    return s;
}

Status MessageInbox::ForgetDeleted() {
    auto heard = HeardIds();
    if (!heard.ok())
        return heard.status();
    if (heard.value().empty())
        return Status::Ok();
    auto ids = RecordedMachineCalls();
    if (!ids.ok())
        return ids.status();
    const std::unordered_set<long long> present(ids.value().begin(), ids.value().end());
    for (long long id : heard.value())
        if (!present.count(id))
            if (Status s = Forget(id); !s.ok())
                return s;
    return Status::Ok();
}

}  // namespace vantelo
