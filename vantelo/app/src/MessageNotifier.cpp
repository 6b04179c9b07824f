#include "vantelo/app/MessageNotifier.h"

#include "i18n/Translations.h"

namespace vantelo {

std::string MessageNotifier::LengthText(int seconds) {
    seconds = seconds < 0 ? 0 : seconds;
    if (seconds < 60)
        return vt::i18n::Tr(kContext, QT_TRANSLATE_NOOP("vantelo::MessageNotifier", "%1초"),
                            {std::to_string(seconds)});
    return vt::i18n::Tr(kContext, QT_TRANSLATE_NOOP("vantelo::MessageNotifier", "%1분 %2초"),
                        {std::to_string(seconds / 60), std::to_string(seconds % 60)});
}

MessageNotifier::Texts MessageNotifier::TextsFor(const NewMessage& message) {
    const std::string length = LengthText(message.seconds);
    return {QString::fromStdString(vt::i18n::Tr(kContext, kSummary)),
            DesktopNotice::BodyLines({&message.name, &message.number, &length})};
}

}  // namespace vantelo
