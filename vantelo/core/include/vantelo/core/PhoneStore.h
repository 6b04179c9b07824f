#pragma once
// What the phone logic needs of the database: names of numbers and the
// append of a finished call.

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "vantelo/core/CallRecord.h"
#include "vantelo/core/LookupName.h"
#include "vantelo/core/NewMessage.h"
#include "vantelo/core/Screening.h"

namespace vantelo {

class PhoneStore {
public:
    virtual ~PhoneStore() = default;
    // The contact book's name, else the inner-line list's; empty if none.
    virtual CallerName IdentifyCaller(const std::string& number, const std::string& strExt) = 0;
    std::string LookupName(const std::string& number, const std::string& strExt) {
        return IdentifyCaller(number, strExt).name;
    }
    // Appends the call and resets it. False (with the reason) when it could
    // not be stored; the call is then left as it was.
    virtual bool AppendCall(CallRecord& call, std::string& error) = 0;
    // The record number of the call AppendCall stored last; 0 before any.
    virtual long long LastAppendedCall() const { return 0; }
    // Names the logged call `callId` of `number` that has no name yet (a
    // caller the directory named after the call ended); false when the row
    // is not there (deleted, named meanwhile) or cannot be written.
    virtual bool NameLoggedCall(long long /*callId*/, const std::string& /*number*/,
                                const std::string& /*name*/) {
        return false;
    }
    // For a store on a server that may go away: hands the calls kept on this
    // desk meanwhile over once the server answers again (oldest first, each
    // once). Cheap when there is nothing to do: the phone asks every few
    // seconds. The number of calls handed over.
    virtual int HandOverKeptCalls() { return 0; }
    // A line for the status line that the store has not told yet (the server
    // went away, or came back); empty when there is none.
    virtual std::string TakeNotice() { return {}; }
    // The recording files that calls name in `folder`; nothing when the
    // call log cannot be read.
    virtual std::optional<std::set<std::string>> RecordingsNamedIn(const std::string& folder) = 0;
    // The screening rules' verdict on a caller; the rule that decided
    // counts the call (at `at`).
    virtual ScreeningDecision Screen(const ScreenedCaller& caller, const vt::LocalTime& at) = 0;
    // The answering machine's messages not heard yet, oldest first; nothing
    // when they cannot be read.
    virtual std::optional<std::vector<NewMessage>> NewMessages() = 0;
    // False only when no program has written to the database since the last
    // NewMessages, so its answer stands.
    virtual bool MessagesMayHaveChanged() = 0;
    // The record numbers of the messages appended since the last call.
    virtual std::vector<long long> TakeArrivedMessages() = 0;
};

}  // namespace vantelo
