#pragma once
// What happens on the line, for listeners beside the window (the network
// caller-ID server). Told on the phone's thread, so a watcher only hands
// the news over and returns at once.

#include <string>

namespace vantelo {

class LineWatcher {
public:
    virtual ~LineWatcher() = default;

    // Each ring of an incoming call.
    virtual void Rang() {}
    // The caller ID of an incoming call: the number (empty when withheld)
    // and the contact book's name (empty when nobody has the number);
    // `blocked` when a screening rule keeps the caller out.
    virtual void CallerIdArrived(const std::string& /*number*/, const std::string& /*name*/,
                                 bool /*blocked*/) {}
    // The ringing stopped: answered (the line was taken) or not (the caller
    // gave up).
    virtual void RingingStopped(bool /*answered*/) {}
    // A call that held the line was hung up.
    virtual void HungUp() {}
    // The number of messages not yet heard, at start and at each change.
    virtual void NewMessagesChanged(int /*count*/) {}
};

}  // namespace vantelo
