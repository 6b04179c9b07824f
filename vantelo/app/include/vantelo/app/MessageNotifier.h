#pragma once
// The desktop's notification for a message the answering machine kept:
// "새 메시지" with the caller and the length. A newer message replaces the
// notification of the one before; the count beside the indicator tells how
// many wait.

#include <string>

#include "platform/TranslateNoop.h"
#include "vantelo/app/DesktopNotice.h"
#include "vantelo/core/NewMessage.h"

namespace vantelo {

class MessageNotifier {
public:
    using Texts = DesktopNotice::Texts;
    static constexpr const char* kContext = "vantelo::MessageNotifier";
    static constexpr const char* kSummary =
        QT_TRANSLATE_NOOP("vantelo::MessageNotifier", "새 메시지");
    static Texts TextsFor(const NewMessage& message);
    // "42초", "1분 5초".
    static std::string LengthText(int seconds);

    explicit MessageNotifier(QDBusConnection bus = QDBusConnection::sessionBus())
        : notice_(std::move(bus)) {}

    void Arrived(const NewMessage& message) { notice_.Show(TextsFor(message)); }

    uint Shown() const { return notice_.Shown(); }
    int Answers() const { return notice_.Answers(); }

private:
    DesktopNotice notice_;
};

}  // namespace vantelo
