#pragma once
// The desktop's notification for another desk's ring: "<desk>: <name>
// <number>" while that desk's line rings, withdrawn when that desk tells it
// was answered or stopped (the end of another desk's ring leaves it alone).

#include <string>

#include "vantelo/app/DesktopNotice.h"
#include "vantelo/core/RingAnnouncement.h"

namespace vantelo {

class DeskRingNotifier {
public:
    explicit DeskRingNotifier(QDBusConnection bus = QDBusConnection::sessionBus())
        : notice_(std::move(bus)) {}

    void Told(const RingAnnouncement& ring);

    uint Shown() const { return notice_.Shown(); }
    int Answers() const { return notice_.Answers(); }

private:
    DesktopNotice notice_;
    std::string desk_;  // whose ring is shown
};

}  // namespace vantelo
