#include "vantelo/core/CRSCallList.h"

#include <cstdio>
#include <vector>

#include "StoreBuffer.h"
#include "platform/Translate.h"
#include "storage/DateTimeText.h"
#include "storage/Filter.h"
#include "storage/Transaction.h"
#include "vantelo/core/DeskIdentity.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/RecordingFiles.h"
#include "vantelo/core/RecordingRemoval.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

using storage::ErrorCode;
using storage::Status;

namespace {

constexpr const char* kContext = "CRSCallList";

Status NotOpen() {
    return Status(ErrorCode::NotOpen,
                  vt::Translate(kContext, QT_TRANSLATE_NOOP("CRSCallList",
                                                            "통화 기록이 열려 있지 않습니다")));
}

}  // namespace

CRSCallList::CRSCallList() : CRSCallList(DefaultDatabasePath()) {}

CRSCallList::CRSCallList(std::filesystem::path database)
    : storage::RecordSet(CallListSchema()), database_(std::move(database)), desk_(DeskName()) {}

Status CRSCallList::Open() {
    Status s = storage::RecordSet::Open(database_, storage::RecordSetType::Dynaset);
    if (!s.ok())
        return s;
    kind_.clear();
    search_.clear();
    return WalkToEnd();
}

std::string CRSCallList::KindConditionFor(int tab) {
    switch (tab) {
        case 1:
            return "[CallMode] = 0";
        case 2:
            return "[CallMode] = 1 OR [CallMode] = 2 OR [CallMode] = 3";
        case 3:
            return "[CallMode] = 1";
        case 4:
            return "[CallMode] = 2";
        case 5:
            return "[CallMode] = 3";
        case 6:
            return "[CallMode] = 4";
        default:
            return {};
    }
}

storage::Result<std::string> CRSCallList::SearchConditionFor(int kind, std::string_view text) {
    if (kind == 3) {
        bool digits = text.size() == 6;
        for (char c : text) digits = digits && c >= '0' && c <= '9';
        if (!digits)
            return Status(ErrorCode::InvalidArgument,
                          vt::Translate(kContext,
                                        QT_TRANSLATE_NOOP("CRSCallList",
                                                          "날짜 검색에는 YYMMDD 여섯 자리가 "
                                                          "필요합니다: '%1'"),
                                        {std::string(text)}));
        int y = 2000 + (text[0] - '0') * 10 + (text[1] - '0');
        int m = (text[2] - '0') * 10 + (text[3] - '0');
        int d = (text[4] - '0') * 10 + (text[5] - '0');
        if (!storage::IsValidLocalTime(vt::LocalTime{y, m, d, 0, 0, 0}))
            return Status(
                ErrorCode::InvalidArgument,
                vt::Translate(kContext,
                              QT_TRANSLATE_NOOP("CRSCallList", "그런 날짜가 없습니다: %1"),
                              {std::string(text)}));
        char buf[128];
        std::snprintf(buf, sizeof buf,
                      "[CallDate] >= #%d/%d/%d 0:0:0# AND [CallDate] <= #%d/%d/%d 23:59:59#", y, m,
                      d, y, m, d);
        return std::string(buf);
    }
    // The text is matched literally: quotes doubled, wild cards bracketed.
    std::string quoted = storage::QuoteText("*" + storage::EscapeLikeText(text) + "*");
    const char* field = kind == 1   ? "CallName"
                        : kind == 2 ? "CallNum"
                        : kind == 4 ? "CallDtmf"
                        : kind == 5 ? "CallMemo"
                                    : "CallMode";
    return std::string("[") + field + "] LIKE " + quoted + " ORDER BY [CallDate]";
}

std::string CRSCallList::AppliedFilter() const {
    return search_.empty() ? kind_ : search_;
}

Status CRSCallList::ReApply() {
    return ApplyFilter(AppliedFilter());
}

Status CRSCallList::Apply(std::string kind, std::string search) {
    if (!IsOpen())
        return NotOpen();
    std::string oldKind = std::move(kind_), oldSearch = std::move(search_);
    kind_ = std::move(kind);
    search_ = std::move(search);
    Status s = SetFilter(AppliedFilter());
    if (!s.ok()) {
        kind_ = std::move(oldKind);
        search_ = std::move(oldSearch);
        return s;
    }
    return ReApply();
}

Status CRSCallList::SetKindFilter(int tab) {
    return Apply(KindConditionFor(tab), std::string());
}

Status CRSCallList::SetSearch(int kind, std::string_view text) {
    storage::Result<std::string> condition = SearchConditionFor(kind, text);
    if (!condition.ok())
        return condition.status();
    return Apply(std::string(), condition.value());
}

Status CRSCallList::AppendCall(CallRecord& call, const vt::Clock& clock, const std::string& uid) {
    if (!IsOpen()) {
        Status s = Open();
        if (!s.ok())
            return s;
    }
    if (!IsEOF()) {
        Status s = MoveLast();
        if (!s.ok())
            return s;
    }
    Status s = StoreBuffer(*this, AddNew(), [&] {
        Status w = call.Write(*this);
        if (w.ok())
            w = SetField("CallDesk", desk_);
        lastUid_ = uid.empty() ? NewCallUid() : uid;
        return w.ok() ? SetField("CallUid", lastUid_) : w;
    });
    if (!s.ok())
        return s;
    call.Reset(clock);
    return ReApply();
}

storage::Result<bool> CRSCallList::HasCall(const std::string& uid) {
    // A record set of its own, so this one keeps its filter and place.
    storage::RecordSet calls(CallListSchema());
    Status s = calls.Open(database_);
    if (s.ok())
        s = calls.ApplyFilter("[CallUid] = " + storage::QuoteText(uid));
    if (!s.ok())
        return s;
    return calls.GetRecordCount() > 0;
}

Status CRSCallList::AppendCallTo(std::unique_ptr<CRSCallList>& set, CallRecord& call,
                                 const vt::Clock& clock) {
    if (!set)
        set = std::make_unique<CRSCallList>();
    return set->AppendCall(call, clock);
}

storage::Result<CallRecord> CRSCallList::CurrentCall() {
    return CallRecord::Read(*this);
}

Status CRSCallList::SaveMemo(std::string_view memo) {
    return StoreBuffer(*this, Edit(), [&] { return SetField("CallMemo", std::string(memo)); });
}

storage::Result<CallDeletion> CRSCallList::DeleteCurrentCall() {
    storage::Result<CallRecord> call = CurrentCall();
    if (!call.ok())
        return call.status();
    auto id = GetRecordId();
    if (!id.ok())
        return id.status();
    RecordingRemoval removal;
    if (!removal.SetAside(call.value()))
        return CallDeletion{0, {RecordingRemoval::FileOf(call.value()).string()}};
    Status s = Delete();
    if (!s.ok())
        return s;  // the removal puts the recording back
    removal.Finish();
    // Only the machine's calls can have been heard. A mark left behind (the
    // file refused the write) is harmless: the next message under this
    // record number clears it.
    if (call.value().CallMode == kCallAnswered)
        (void)MessageInbox(database_).Forget(id.value());
    return CallDeletion{1, {}};
}

Status CRSCallList::DeleteInBatches(const std::vector<storage::Value>& flags,
                                    const DeletionProgress& progress, long batch,
                                    RecordingRemoval& removal, CallDeletion& result) {
    const long total = GetRecordCount();
    storage::Transaction transaction(*GetConnection());
    Status s = transaction.Begin();
    if (!s.ok())
        return s;
    Status failed;
    // Each batch's recordings go aside before its calls are deleted, so a call
    // is only gone once its recording could be removed.
    s = DeleteAllExcept({}, batch, [&](long first, long last, std::vector<long>& keep) {
        if (progress && !progress(first, total))
            return false;
        for (long p = first; p < last; ++p) {
            if (flags[static_cast<size_t>(p)].AsInteger() == 0)
                continue;
            Status moved = SetAbsolutePosition(p);
            storage::Result<CallRecord> call = moved.ok() ? CurrentCall() : moved;
            if (!call.ok()) {
                failed = call.status();
                return false;
            }
            if (!removal.SetAside(call.value())) {
                keep.push_back(p);
                result.kept.push_back(RecordingRemoval::FileOf(call.value()).string());
            }
        }
        return true;
    });
    if (!failed.ok())
        return failed;
    if (s.ok())
        s = transaction.Commit();
    if (!s.ok())
        return s;  // rolled back as the transaction ends
    result.deleted = total - static_cast<long>(result.kept.size());
    if (progress)
        (void)progress(total, total);  // done: too late to stop
    return s;
}

storage::Result<CallDeletion> CRSCallList::DeleteAllCalls(const std::filesystem::path& appFolder,
                                                          const DeletionProgress& progress,
                                                          long batch) {
    if (!IsOpen())
        return NotOpen();
    // Only the recorded calls are read one by one; the flags come in one pass.
    storage::Result<std::vector<storage::Value>> flags = ColumnValues("CallRec");
    if (!flags.ok())
        return flags.status();
    if (static_cast<long>(flags.value().size()) != GetRecordCount()) {
        (void)ReApply();
        return Status(ErrorCode::Busy,
                      vt::Translate(kContext, QT_TRANSLATE_NOOP("CRSCallList",
                                                                "다른 프로그램이 통화 기록을 "
                                                                "바꾸어 아무것도 지우지 "
                                                                "않았습니다")));
    }
    CallDeletion result;
    RecordingRemoval removal;
    Status s = DeleteInBatches(flags.value(), progress, batch, removal, result);
    if (!s.ok()) {
        removal.Restore();
        // A stop leaves the result as it was; after an error it is read again
        // from the file, filter kept.
        if (s.code() != ErrorCode::Cancelled) {
            const std::string kind = kind_, search = search_;
            if (Open().ok())
                (void)Apply(kind, search);
        }
        return s;
    }
    removal.Finish();
    RemoveEmptyRecordingFolders(appFolder);
    (void)MessageInbox(database_).ForgetDeleted();
    return result;
}

}  // namespace vantelo
