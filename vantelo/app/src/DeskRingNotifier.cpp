#include "vantelo/app/DeskRingNotifier.h"

namespace vantelo {

void DeskRingNotifier::Told(const RingAnnouncement& ring) {
    if (ring.kind == RingAnnouncement::Kind::Ringing) {
        desk_ = ring.desk;
        notice_.Show({QString::fromStdString(ring.NoticeText()), {}});
        return;
    }
    if (ring.desk != desk_)
        return;
    desk_.clear();
    notice_.Withdraw();
}

}  // namespace vantelo
