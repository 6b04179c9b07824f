#pragma once
// The phone's store over the database (the file, or the office's shared
// server): the contact book, the inner-line list and the call log record sets.

#include <filesystem>
#include <memory>

#include "platform/Clock.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/MessageInbox.h"
#include "vantelo/core/PhoneStore.h"
#include "vantelo/core/RecordingUploader.h"

namespace vantelo {

class DatabasePhoneStore : public PhoneStore {
public:
    // Opens the three record sets on `database` (created when missing).
    DatabasePhoneStore(const vt::Clock& clock, std::filesystem::path database);

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
    std::optional<std::set<std::string>> RecordingsNamedIn(const std::string& folder) override;
    ScreeningDecision Screen(const ScreenedCaller& caller, const vt::LocalTime& at) override;
    std::optional<std::vector<NewMessage>> NewMessages() override;
    bool MessagesMayHaveChanged() override;
    std::vector<long long> TakeArrivedMessages() override;
    // The messages and their heard marks (for the window's player).
    MessageInbox& Inbox() { return *inbox_; }
    // The uploads of recordings to a shared database (null on a file).
    RecordingUploader* Uploads() { return uploader_.get(); }

private:
    const vt::Clock& clock_;
    std::filesystem::path database_;
    std::string openError_;
    std::string notice_;
    CRSAddressList addressList_;
    CRSInnerLineList innerLineList_;
    std::unique_ptr<CRSCallList> callList_;
    std::unique_ptr<CRSBlockList> blockList_;
    std::unique_ptr<MessageInbox> inbox_;
    std::unique_ptr<RecordingUploader> uploader_;  // last: its thread stops first
    std::vector<long long> arrived_;
    long long lastAppended_ = 0;
};

}  // namespace vantelo
