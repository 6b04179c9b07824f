#pragma once
// Turns the phone's line events into the protocol's lines for the server:
// "CIDINFO:" at each ring, when ringing stops and when the call ends,
// "CID:" (or "BLK:" for a caller kept out) when the caller ID arrives, kept
// for the log as "CIDLOG:", and "MWI:" when the count of new messages
// changes. Runs on the phone's thread; the server sends.

#include <vector>

#include "callerid/CallerIdServer.h"
#include "callerid/NcidLines.h"
#include "platform/Clock.h"
#include "vantelo/core/LineWatcher.h"

namespace callerid {

class CallerIdFeed : public vantelo::LineWatcher {
public:
    CallerIdFeed(CallerIdServer& server, std::string desk, const vt::Clock& clock);

    // Earlier calls of the log, oldest first, for clients that connect.
    void RememberCalls(const std::vector<CallInfo>& calls);

    void Rang() override;
    void CallerIdArrived(const std::string& number, const std::string& name, bool blocked) override;
    void RingingStopped(bool answered) override;
    void HungUp() override;
    void NewMessagesChanged(int count) override;

    const std::string& Desk() const { return desk_; }

private:
    void EndCall();

    CallerIdServer& server_;
    std::string desk_;
    const vt::Clock& clock_;
    int rings_ = 0;
    bool incoming_ = false;  // an incoming call is on (rang or named)
    bool answered_ = false;
    int messages_ = -1;
};

}  // namespace callerid
