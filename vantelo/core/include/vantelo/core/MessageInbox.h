#pragma once
// The answering machine's messages and whether they were heard. A message is
// a call the machine took (kind 3) whose recording was kept; it is new until
// it is played or marked heard. The heard marks live in a table of their own
// ([HeardList]: the call's record number and when), so the call log keeps its
// columns; a mark goes with its call.

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "storage/RecordSet.h"
#include "vantelo/core/CallRecord.h"
#include "vantelo/core/NewMessage.h"

namespace vantelo {

class MessageInbox {
public:
    explicit MessageInbox(std::filesystem::path database);

    // A call of the machine with a recording that is still on disk.
    static bool IsMessage(const CallRecord& call);

    // The messages not heard yet, oldest first.
    storage::Result<std::vector<NewMessage>> NewMessages();
    // True when the file may hold other messages or marks than at the last
    // NewMessages (any program's write counts); cheap enough to ask often.
    storage::Result<bool> ChangedSinceRead();

    // Marks the message of call `callId` heard. A call that is no message is
    // refused (NoCurrentRecord); a message heard already stays as it is.
    storage::Status MarkHeard(long long callId, const vt::LocalTime& at);
    // Marks every new message heard, all or none; the number marked.
    storage::Result<long> MarkAllHeard(const vt::LocalTime& at);
    // Marks heard the message whose recording is `file` (any spelling of the
    // path); false when no message has that recording.
    storage::Result<bool> MarkRecordingHeard(const std::filesystem::path& file,
                                             const vt::LocalTime& at);

    // The mark of a call that was deleted, or whose record number a new call
    // now has, goes.
    storage::Status Forget(long long callId);
    // Marks of calls that are no longer in the call log go.
    storage::Status ForgetDeleted();

private:
    storage::Status OpenCalls();
    storage::Status OpenHeard();
    // The record numbers of the machine's recorded calls (heard or not).
    storage::Result<std::vector<long long>> RecordedMachineCalls();
    storage::Result<std::vector<long long>> HeardIds();
    storage::Status AddMark(long long callId, const vt::LocalTime& at);

    std::filesystem::path database_;
    storage::RecordSet calls_;
    storage::RecordSet heard_;
    std::optional<std::int64_t> readVersion_;
};

}  // namespace vantelo
