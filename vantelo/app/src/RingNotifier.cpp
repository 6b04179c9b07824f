#include "vantelo/app/RingNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include "vantelo/core/PhoneIds.h"
#include "widgets/QtText.h"

namespace vantelo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

}  // namespace

RingNotifier::Texts RingNotifier::TextsFor(const std::string& name, const std::string& number) {
    QStringList lines;
    for (const std::string* part : {&name, &number})
        if (!part->empty())
            lines << vt::widgets::Q(*part).toHtmlEscaped();
    return {QString::fromUtf8(text::kRinging), lines.join(QLatin1Char('\n'))};
}

RingNotifier::RingNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {}

void RingNotifier::Ringing(const std::string& name, const std::string& number) {
    const Texts texts = TextsFor(name, number);
    if (waiting_) {
        next_ = texts;
        closeNext_ = false;
        return;
    }
    Send(texts);
}

void RingNotifier::Ended() {
    if (waiting_) {
        next_.reset();
        closeNext_ = true;
        return;
    }
    Close();
}

void RingNotifier::Send(const Texts& texts) {
    if (!bus_.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService,
                                                       QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("vantelo"));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(1));
    call << QStringLiteral("Vantelo") << id_ << QStringLiteral("vantelo") << texts.summary
         << texts.body << QStringList() << hints << -1;
    waiting_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* answered) {
                answered->deleteLater();
                const QDBusPendingReply<uint> reply = *answered;
                // No service, or it failed: silently no notification.
                id_ = reply.isError() ? 0 : reply.value();
                waiting_ = false;
                ++answers_;
                if (next_) {
                    const Texts texts = *next_;
                    next_.reset();
                    Send(texts);
                } else if (closeNext_) {
                    closeNext_ = false;
                    Close();
                }
            });
}

void RingNotifier::Close() {
    if (id_ == 0 || !bus_.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService,
                                                       QStringLiteral("CloseNotification"));
    call << id_;
    id_ = 0;
    bus_.asyncCall(call);
}

}  // namespace vantelo
