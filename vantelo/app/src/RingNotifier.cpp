#include "vantelo/app/RingNotifier.h"

#include "vantelo/core/PhoneIds.h"

namespace vantelo {

RingNotifier::Texts RingNotifier::TextsFor(const std::string& name, const std::string& number) {
    return {QString::fromUtf8(text::kRinging), DesktopNotice::BodyLines({&name, &number})};
}

}  // namespace vantelo
