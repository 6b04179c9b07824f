#include "vantelo/core/RingAnnouncer.h"

#include "vantelo/core/RingAnnouncement.h"

namespace vantelo {

void RingAnnouncer::CallerIdArrived(const std::string& number, const std::string& name,
                                    bool blocked) {
    if (blocked) {
        // A rule that came late still takes the ring off the other desks.
        if (announced_)
            RingingStopped(false);
        return;
    }
    announced_ = true;
    send_(RingAnnouncement{RingAnnouncement::Kind::Ringing, desk_, number, name}.Payload());
}

void RingAnnouncer::RingingStopped(bool answered) {
    if (!announced_)
        return;
    announced_ = false;
    const auto kind = answered ? RingAnnouncement::Kind::Answered : RingAnnouncement::Kind::Stopped;
    send_(RingAnnouncement{kind, desk_, {}, {}}.Payload());
}

}  // namespace vantelo
