#pragma once
// The desktop's notification for an incoming call, beside the ring pop-up:
// updated when the caller becomes known and withdrawn when the ringing ends.

#include <string>

#include "vantelo/app/DesktopNotice.h"

namespace vantelo {

class RingNotifier {
public:
    using Texts = DesktopNotice::Texts;
    // The summary and body for a caller; either part may be unknown (empty).
    static Texts TextsFor(const std::string& name, const std::string& number);

    explicit RingNotifier(QDBusConnection bus = QDBusConnection::sessionBus())
        : notice_(std::move(bus)) {}

    // The phone rings: shows the notification, or updates the one shown.
    void Ringing(const std::string& name, const std::string& number) {
        notice_.Show(TextsFor(name, number));
    }
    // The ringing ended: the notification goes.
    void Ended() { notice_.Withdraw(); }

    uint Shown() const { return notice_.Shown(); }
    int Answers() const { return notice_.Answers(); }

private:
    DesktopNotice notice_;
};

}  // namespace vantelo
