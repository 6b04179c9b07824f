#include "vantelo/core/CallRecord.h"

#include "platform/TranslateNoop.h"
#include "storage/DateTimeText.h"

namespace vantelo {

using storage::Status;
using storage::Value;

std::string CallKindLabel(int mode) {
    static const char* const kLabels[] = {
        QT_TRANSLATE_NOOP("CallKind", "발신"), QT_TRANSLATE_NOOP("CallKind", "수신"),
        QT_TRANSLATE_NOOP("CallKind", "부재"), QT_TRANSLATE_NOOP("CallKind", "응답"),
        QT_TRANSLATE_NOOP("CallKind", "녹음"), QT_TRANSLATE_NOOP("CallKind", "차단")};
    return mode >= 0 && mode <= kCallBlocked ? kLabels[mode] : "";
}

void CallRecord::Reset(const vt::Clock& clock) {
    *this = CallRecord{};
    CallDate = clock.NowLocal();
}

storage::Result<CallRecord> CallRecord::Read(storage::RecordSet& set) {
    CallRecord r;
    storage::Result<Value> date = set.GetField("CallDate");
    if (!date.ok())
        return date.status();
    if (auto t = storage::ParseDateTime(date.value().AsText()))
        r.CallDate = *t;
    r.CallMode = static_cast<int>(set.GetInteger("CallMode"));
    r.CallName = set.GetText("CallName");
    r.CallNum = set.GetText("CallNum");
    r.CallCompressMode = static_cast<int>(set.GetInteger("CallCompressMode"));
    r.CallTime = static_cast<long>(set.GetInteger("CallTime"));
    r.CallRecDirectory = set.GetText("CallRecDirectory");
    r.CallRecFileName = set.GetText("CallRecFileName");
    r.CallRec = set.GetInteger("CallRec") != 0;
    r.CallDtmf = set.GetText("CallDtmf");
    r.CallbInner = set.GetInteger("CallbInner") != 0;
    r.CallMemo = set.GetText("CallMemo");
    r.CallUid = set.GetText("CallUid");
    return r;
}

Status CallRecord::Write(storage::RecordSet& set) const {
    // Fields in the order the call log appends them: compression, date, memo,
    // kind, name, number, digits, inner-line flag, recorded flag, folder,
    // file, duration.
    Value date =
        storage::IsValidLocalTime(CallDate) ? Value(storage::FormatDateTime(CallDate)) : Value();
    const std::pair<const char*, Value> fields[] = {
        {"CallCompressMode", CallCompressMode},
        {"CallDate", date},
        {"CallMemo", CallMemo},
        {"CallMode", CallMode},
        {"CallName", CallName},
        {"CallNum", CallNum},
        {"CallDtmf", CallDtmf},
        {"CallbInner", CallbInner},
        {"CallRec", CallRec},
        {"CallRecDirectory", CallRecDirectory},
        {"CallRecFileName", CallRecFileName},
        {"CallTime", static_cast<std::int64_t>(CallTime)},
    };
    for (const auto& [name, value] : fields) {
        Status s = set.SetField(name, value);
        if (!s.ok())
            return s;
    }
    return Status::Ok();
}

}  // namespace vantelo
