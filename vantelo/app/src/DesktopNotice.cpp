#include "vantelo/app/DesktopNotice.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include "widgets/QtText.h"

namespace vantelo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

}  // namespace

QString DesktopNotice::BodyLines(std::initializer_list<const std::string*> parts) {
    QStringList lines;
    for (const std::string* part : parts)
        if (!part->empty())
            lines << vt::widgets::Q(*part).toHtmlEscaped();
    return lines.join(QLatin1Char('\n'));
}

DesktopNotice::DesktopNotice(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {}

void DesktopNotice::Show(const Texts& texts) {
    if (waiting_) {
        next_ = texts;
        closeNext_ = false;
        return;
    }
    Send(texts);
}

void DesktopNotice::Withdraw() {
    if (waiting_) {
        next_.reset();
        closeNext_ = true;
        return;
    }
    Close();
}

void DesktopNotice::Send(const Texts& texts) {
    if (!bus_.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
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

void DesktopNotice::Close() {
    if (id_ == 0 || !bus_.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService,
                                                       QStringLiteral("CloseNotification"));
    call << id_;
    id_ = 0;
    bus_.asyncCall(call);
}

}  // namespace vantelo
