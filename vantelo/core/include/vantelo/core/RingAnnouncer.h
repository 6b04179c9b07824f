#pragma once
// The watcher of this desk's line that tells the other desks of a shared
// database about its incoming calls: the caller ID as it arrives, and how
// the ringing ended. A caller a screening rule keeps out is not announced.
// Told on the phone's thread, it only hands the payload to `send`, which
// must queue it and return (the listener's thread sends it).

#include <functional>
#include <string>

#include "vantelo/core/LineWatcher.h"

namespace vantelo {

class RingAnnouncer : public LineWatcher {
public:
    RingAnnouncer(std::string desk, std::function<void(const std::string& payload)> send)
        : desk_(std::move(desk)), send_(std::move(send)) {}

    void CallerIdArrived(const std::string& number, const std::string& name, bool blocked) override;
    void RingingStopped(bool answered) override;

private:
    std::string desk_;
    std::function<void(const std::string&)> send_;
    bool announced_ = false;  // the other desks show this call's ring
};

}  // namespace vantelo
