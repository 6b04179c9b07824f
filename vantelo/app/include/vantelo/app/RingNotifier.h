#pragma once
// The desktop's notification for an incoming call, beside the ring pop-up:
// org.freedesktop.Notifications over the session bus, sent asynchronously so
// the window never waits for it. The notification is updated when the
// caller becomes known and withdrawn when the ringing ends. Without a
// session bus or a notification service nothing is shown and nothing is
// said.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>
#include <string>

namespace vantelo {

class RingNotifier : public QObject {
    Q_OBJECT
public:
    struct Texts {
        QString summary;
        QString body;  // the service's markup: special characters escaped
    };
    // The summary and body for a caller; either part may be unknown (empty).
    static Texts TextsFor(const std::string& name, const std::string& number);

    explicit RingNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                          QObject* parent = nullptr);

    // The phone rings: shows the notification, or updates the one shown.
    void Ringing(const std::string& name, const std::string& number);
    // The ringing ended: the notification goes.
    void Ended();

    // The id the service gave the notification shown (0 when none).
    uint Shown() const { return id_; }
    // Notify calls answered so far (tests wait on it).
    int Answers() const { return answers_; }

private:
    void Send(const Texts& texts);
    void Close();

    QDBusConnection bus_;
    uint id_ = 0;
    bool waiting_ = false;        // a Notify call has no answer yet
    std::optional<Texts> next_;   // texts to send once it has
    bool closeNext_ = false;      // the ringing ended before it had
    int answers_ = 0;
};

}  // namespace vantelo
