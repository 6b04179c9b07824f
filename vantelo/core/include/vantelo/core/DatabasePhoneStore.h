#pragma once
// The phone's store over the database (the file, or the office's shared
// server): the contact book, the inner-line list and the call log record sets.
// On a shared server the desk keeps working while the server is away: calls
// go to the desk's spool and are handed over when it answers again, and
// callers are named and screened from the desk's copy of the shared lists.

#include <filesystem>
#include <memory>
#include <utility>

#include "platform/Clock.h"
#include "platform/Folders.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/CallSpool.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/OfflineCopy.h"
#include "vantelo/core/PhoneStore.h"
#include "vantelo/core/RecordingUploader.h"

namespace vantelo {

class DatabasePhoneStore : public PhoneStore {
public:
    // Opens the three record sets on `database` (created when missing). A
    // shared store keeps its spool and copy in `appFolder`.
    DatabasePhoneStore(const vt::Clock& clock, std::filesystem::path database,
                       std::filesystem::path appFolder = vt::ApplicationFolder());
    ~DatabasePhoneStore() override;

    // Empty when the database is ready, else why not.
    const std::string& OpenError() const { return openError_; }
    // A line for the status line about a shared database that opened with
    // limits (read-only, slow search); empty otherwise.
    const std::string& OpenNotice() const { return notice_; }

    CallerName IdentifyCaller(const std::string& number, const std::string& strExt) override;
    bool AppendCall(CallRecord& call, std::string& error) override;
    long long LastAppendedCall() const override { return lastAppended_; }
    bool NameLoggedCall(long long callId, const std::string& number,
                        const std::string& name) override;
    int HandOverKeptCalls() override;
    std::string TakeNotice() override { return std::exchange(pendingNotice_, {}); }
    std::optional<std::set<std::string>> RecordingsNamedIn(const std::string& folder) override;
    ScreeningDecision Screen(const ScreenedCaller& caller, const vt::LocalTime& at) override;
    std::optional<std::vector<NewMessage>> NewMessages() override;
    bool MessagesMayHaveChanged() override;
    std::vector<long long> TakeArrivedMessages() override;
    // The messages and their heard marks (for the window's player).
    MessageInbox& Inbox() { return *inbox_; }

    // How often the desk looks whether a server that went away answers again
    // (and refreshes its copy of the shared lists while it does).
    static constexpr unsigned kServerLookMs = 5000;
    // The spool and the copy (null on a database file).
    CallSpool* Spool() { return spool_.get(); }
    OfflineCopy* Copy() { return copy_.get(); }
    // The uploads of recordings to a shared database (null on a file).
    RecordingUploader* Uploads() { return uploader_.get(); }

private:
    // (Re)opens the record sets on the database; false when the server
    // could not be reached (the store is then away).
    bool Connect();
    // The server failed with `s`: true when that means it cannot be reached.
    bool Lost(const storage::Status& s);
    void GoAway();
    // Stores a call on the database with the id `uid`; when `mayBeStored`
    // (a kept call handed over again) not if a call with that id is there.
    storage::Status Store(CallRecord& call, const std::string& uid, bool mayBeStored);
    // The spooled calls first; false when some are left.
    bool HandOverSpool(int* handed = nullptr);

    const vt::Clock& clock_;
    std::filesystem::path database_;
    std::string openError_;
    std::string notice_;
    CRSAddressList addressList_;
    CRSInnerLineList innerLineList_;
    std::unique_ptr<CRSCallList> callList_;
    std::unique_ptr<CRSBlockList> blockList_;
    std::unique_ptr<MessageInbox> inbox_;
    std::vector<long long> arrived_;
    long long lastAppended_ = 0;
    std::unique_ptr<CallSpool> spool_;
    std::unique_ptr<OfflineCopy> copy_;
    bool away_ = false;
    std::string pendingNotice_;
    std::unique_ptr<RecordingUploader> uploader_;  // last: its thread stops first
};

}  // namespace vantelo
