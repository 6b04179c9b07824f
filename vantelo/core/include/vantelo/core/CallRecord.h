#pragma once
// The call being built for the call log: one field per CallList column.

#include <string>

#include "platform/Clock.h"
#include "storage/RecordSet.h"

namespace vantelo {

// CallMode values.
enum CallKind : int {
    kCallOutgoing = 0,  // "발신"
    kCallReceived = 1,  // "수신"
    kCallMissed = 2,    // "부재"
    kCallAnswered = 3,  // "응답", by the answering machine
    kCallGreeting = 4,  // "녹음", a greeting recorded from the handset
    kCallBlocked = 5,   // "차단", kept out by a screening rule
};

// The label of a call kind on the call log page and in its backup (in
// Korean; the page shows it translated in `kCallKindContext`); empty for a
// value outside 0..5.
std::string CallKindLabel(int mode);
inline constexpr const char* kCallKindContext = "CallKind";

struct CallRecord {
    int CallMode = kCallOutgoing;
    std::string CallName;
    std::string CallNum;
    int CallCompressMode = 0;
    vt::LocalTime CallDate;
    long CallTime = 0;  // seconds
    std::string CallRecDirectory;
    std::string CallRecFileName;
    bool CallRec = false;
    std::string CallDtmf;
    bool CallbInner = false;
    std::string CallMemo;
    // Read from the log only: the call log gives each appended call its own
    // (so a recording on the shared database can be found by it).
    std::string CallUid;

    // Kind 0, empty texts, flags, duration and compression 0, start now.
    void Reset(const vt::Clock& clock);

    // The current record of a CallList record set.
    static storage::Result<CallRecord> Read(storage::RecordSet& set);
    // Into the edit buffer (after AddNew or Edit).
    storage::Status Write(storage::RecordSet& set) const;
};

}  // namespace vantelo
