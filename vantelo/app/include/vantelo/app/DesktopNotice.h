#pragma once
// One notification of the desktop (org.freedesktop.Notifications over the
// session bus), shown, replaced and withdrawn asynchronously so the window
// never waits for the service. Changes made before the service answered are
// kept and sent once it has. Without a session bus or a notification
// service nothing is shown and nothing is said.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>
#include <string>

namespace vantelo {

class DesktopNotice : public QObject {
    Q_OBJECT
public:
    struct Texts {
        QString summary;
        QString body;  // the service's markup: special characters escaped
    };
    // The non-empty parts, escaped for the body, one a line.
    static QString BodyLines(std::initializer_list<const std::string*> parts);

    explicit DesktopNotice(QDBusConnection bus = QDBusConnection::sessionBus(),
                           QObject* parent = nullptr);

    // Shows the notification, or replaces the one shown.
    void Show(const Texts& texts);
    // The notification shown goes.
    void Withdraw();

    // The id the service gave the notification shown (0 when none).
    uint Shown() const { return id_; }
    // Notify calls answered so far (tests wait on it).
    int Answers() const { return answers_; }

private:
    void Send(const Texts& texts);
    void Close();

    QDBusConnection bus_;
    uint id_ = 0;
    bool waiting_ = false;       // a Notify call has no answer yet
    std::optional<Texts> next_;  // texts to send once it has
    bool closeNext_ = false;     // withdrawn before it had
    int answers_ = 0;
};

}  // namespace vantelo
