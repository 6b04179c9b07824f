#include "callerid/CallerIdFeed.h"

namespace callerid {

CallerIdFeed::CallerIdFeed(CallerIdServer& server, std::string desk, const vt::Clock& clock)
    : server_(server), desk_(std::move(desk)), clock_(clock) {}

void CallerIdFeed::RememberCalls(const std::vector<CallInfo>& calls) {
    for (const CallInfo& call : calls) server_.Remember(lines::Call("CIDLOG", call));
}

void CallerIdFeed::Rang() {
    incoming_ = true;
    server_.Publish(lines::RingInfo(desk_, ++rings_, clock_.NowLocal()));
}

void CallerIdFeed::CallerIdArrived(const std::string& number, const std::string& name,
                                   bool blocked) {
    incoming_ = true;
    const CallInfo call{clock_.NowLocal(), desk_, number, name};
    server_.Publish(lines::Call(blocked ? "BLK" : "CID", call));
    if (!blocked)
        server_.Remember(lines::Call("CIDLOG", call));
}

void CallerIdFeed::RingingStopped(bool answered) {
    if (!incoming_)
        return;
    const vt::LocalTime now = clock_.NowLocal();
    server_.Publish(lines::RingInfo(desk_, 0, now));
    if (answered) {
        answered_ = true;
        return;
    }
    server_.Publish(lines::RingInfo(desk_, -1, now));  // the caller gave up
    EndCall();
}

void CallerIdFeed::HungUp() {
    if (incoming_ && answered_)
        server_.Publish(lines::RingInfo(desk_, -2, clock_.NowLocal()));
    EndCall();
}

void CallerIdFeed::NewMessagesChanged(int count) {
    if (count == messages_)
        return;
    messages_ = count;
    server_.Publish(lines::MessageWaiting(desk_, count, clock_.NowLocal()));
}

void CallerIdFeed::EndCall() {
    rings_ = 0;
    incoming_ = false;
    answered_ = false;
}

}  // namespace callerid
