#include "vantelo/app/RingNotifier.h"

#include "i18n/Translations.h"
#include "vantelo/core/PhoneIds.h"

namespace vantelo {

RingNotifier::Texts RingNotifier::TextsFor(const std::string& name, const std::string& number) {
    return {QString::fromStdString(vt::i18n::Tr(text::kContext, text::kRinging)),
            DesktopNotice::BodyLines({&name, &number})};
}

}  // namespace vantelo
