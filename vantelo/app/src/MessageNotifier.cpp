#include "vantelo/app/MessageNotifier.h"

namespace vantelo {

std::string MessageNotifier::LengthText(int seconds) {
    seconds = seconds < 0 ? 0 : seconds;
    if (seconds < 60)
        return std::to_string(seconds) + "초";
    return std::to_string(seconds / 60) + "분 " + std::to_string(seconds % 60) + "초";
}

MessageNotifier::Texts MessageNotifier::TextsFor(const NewMessage& message) {
    const std::string length = LengthText(message.seconds);
    return {QString::fromUtf8(kSummary),
            DesktopNotice::BodyLines({&message.name, &message.number, &length})};
}

}  // namespace vantelo
