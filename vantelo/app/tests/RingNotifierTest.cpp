// The incoming-call and new-message notifications against a real message
// bus (a private dbus-daemon) with a notification service of the test's own
// on it: what is sent, how an update replaces the notification shown, that
// it goes when the ringing ends, and that a desktop without the service
// shows nothing.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <filesystem>

#include "testsupport/QtPump.h"
#include "testsupport/SessionBus.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/app/DeskRingNotifier.h"
#include "vantelo/app/MessageNotifier.h"
#include "vantelo/app/RingNotifier.h"

namespace vantelo {
namespace {

using vt::test::PumpUntil;

// What a notification service on the desktop answers.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        QString app;
        uint replaces;
        QString icon, summary, body;
        QVariantMap hints;
    };
    QList<Call> notified;
    QList<uint> closed;

public slots:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap& hints, int) {
        notified.append({app, replaces, icon, summary, body, hints});
        return replaces ? replaces : 40 + static_cast<uint>(notified.size());
    }
    void CloseNotification(uint id) { closed.append(id); }
};

// A private session bus for one test.
// A connection of its own name to the test's private bus.
QDBusConnection Connect(const vt::test::SessionBus& bus, const QString& name) {
    return QDBusConnection::connectToBus(QString::fromStdString(bus.Address()), name);
}

TEST(RingNotifierTest, TextsNameTheCallerWhenKnownAndEscapeMarkup) {
    auto t = RingNotifier::TextsFor("홍길동", "0212345678");
    EXPECT_EQ(t.summary, "전화가 왔습니다.");
    EXPECT_EQ(t.body, "홍길동\n0212345678");
    EXPECT_EQ(RingNotifier::TextsFor("", "0212345678").body, "0212345678");
    EXPECT_EQ(RingNotifier::TextsFor("", "").body, "");
    EXPECT_EQ(RingNotifier::TextsFor("<b>Kim</b> & Co", "1").body,
              "&lt;b&gt;Kim&lt;/b&gt; &amp; Co\n1");
}

class RingNotifierBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!bus_.Available())
            GTEST_SKIP() << bus_.SkipReason();
        ASSERT_TRUE(client_.isConnected()) << client_.lastError().message().toStdString();
    }
    void TearDown() override {
        // The names are the process's: the next test connects afresh.
        QDBusConnection::disconnectFromBus("vantelo-client");
        QDBusConnection::disconnectFromBus("vantelo-service");
    }
    void Serve() {
        ASSERT_TRUE(server_.registerObject("/org/freedesktop/Notifications", &service_,
                                           QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(server_.registerService("org.freedesktop.Notifications"));
    }

    vt::test::TestEnvironment env_;
    vt::test::SessionBus bus_{env_.Root() / "dbus"};
    QDBusConnection client_ = Connect(bus_, "vantelo-client");
    QDBusConnection server_ = Connect(bus_, "vantelo-service");
    NotificationService service_;
};

TEST_F(RingNotifierBusTest, ShowsUpdatesAndWithdrawsTheNotification) {
    Serve();
    RingNotifier notifier(client_);
    notifier.Ringing("", "");  // the first ring, before the caller ID
    ASSERT_TRUE(PumpUntil([&] { return notifier.Answers() == 1; }));
    ASSERT_EQ(service_.notified.size(), 1);
    const auto first = service_.notified[0];
    EXPECT_EQ(first.app, "Vantelo");
    EXPECT_EQ(first.replaces, 0u);
    EXPECT_EQ(first.icon, "vantelo");
    EXPECT_EQ(first.summary, "전화가 왔습니다.");
    EXPECT_EQ(first.body, "");
    EXPECT_EQ(first.hints.value("desktop-entry").toString(), "vantelo");
    EXPECT_EQ(notifier.Shown(), 41u);

    notifier.Ringing("홍길동", "0212345678");  // the caller ID arrived
    ASSERT_TRUE(PumpUntil([&] { return notifier.Answers() == 2; }));
    ASSERT_EQ(service_.notified.size(), 2);
    EXPECT_EQ(service_.notified[1].replaces, 41u) << "the shown one is updated";
    EXPECT_EQ(service_.notified[1].body, "홍길동\n0212345678");

    notifier.Ended();
    ASSERT_TRUE(PumpUntil([&] { return !service_.closed.empty(); }));
    EXPECT_EQ(service_.closed, QList<uint>{41u});
    EXPECT_EQ(notifier.Shown(), 0u);
}

TEST_F(RingNotifierBusTest, AnotherDesksRingIsShownUntilThatDeskTellsItsEnd) {
    Serve();
    DeskRingNotifier notifier(client_);
    using Kind = RingAnnouncement::Kind;
    notifier.Told({Kind::Ringing, "창구", "0212345678", "홍길동"});
    ASSERT_TRUE(PumpUntil([&] { return notifier.Answers() == 1; }));
    ASSERT_EQ(service_.notified.size(), 1);
    EXPECT_EQ(service_.notified[0].summary, "창구: 홍길동 0212345678");
    EXPECT_EQ(service_.notified[0].body, "");
    notifier.Told({Kind::Stopped, "상담실", "", ""});  // another desk's end
    notifier.Told({Kind::Ringing, "창구", "0311112222", ""});
    ASSERT_TRUE(PumpUntil([&] { return notifier.Answers() == 2; }));
    EXPECT_EQ(service_.notified[1].summary, "창구: 0311112222");
    EXPECT_EQ(service_.notified[1].replaces, 41u);
    EXPECT_TRUE(service_.closed.isEmpty());
    notifier.Told({Kind::Answered, "창구", "", ""});
    ASSERT_TRUE(PumpUntil([&] { return !service_.closed.empty(); }));
    EXPECT_EQ(service_.closed, QList<uint>{41u});
    EXPECT_EQ(notifier.Shown(), 0u);
}

TEST_F(RingNotifierBusTest, ChangesBeforeTheServiceAnswersAreNotLost) {
    Serve();
    RingNotifier notifier(client_);
    // Both at once: the second waits for the first's id and replaces it.
    notifier.Ringing("", "");
    notifier.Ringing("", "0311112222");
    ASSERT_TRUE(PumpUntil([&] { return notifier.Answers() == 2; }));
    ASSERT_EQ(service_.notified.size(), 2);
    EXPECT_EQ(service_.notified[1].replaces, 41u);
    EXPECT_EQ(service_.notified[1].body, "0311112222");
    // A ring that ends before the service answered still withdraws it.
    RingNotifier quick(client_);
    quick.Ringing("", "1");
    quick.Ended();
    ASSERT_TRUE(PumpUntil([&] { return !service_.closed.empty(); }));
    EXPECT_EQ(service_.closed, QList<uint>{43u});
}

TEST_F(RingNotifierBusTest, WithoutANotificationServiceNothingIsShownOrSaid) {
    RingNotifier notifier(client_);
    notifier.Ringing("홍길동", "0212345678");
    ASSERT_TRUE(PumpUntil([&] { return notifier.Answers() == 1; }));
    EXPECT_EQ(notifier.Shown(), 0u);
    notifier.Ended();  // nothing to withdraw
    // Without any bus it does not even try.
    RingNotifier unconnected(QDBusConnection(QStringLiteral("no such connection")));
    unconnected.Ringing("", "1");
    vt::test::PumpFor(100);
    EXPECT_EQ(unconnected.Answers(), 0);
}

TEST(MessageNotifierTest, TextsNameTheCallerAndTheLength) {
    struct Case {
        const char* name;
        const char* number;
        int seconds;
        const char* body;
    };
    const Case cases[] = {
        {"홍길동", "0311112222", 6, "홍길동\n0311112222\n6초"},
        {"", "0311112222", 59, "0311112222\n59초"},
        {"", "", 60, "1분 0초"},
        {"<b>Kim</b>", "1", 125, "&lt;b&gt;Kim&lt;/b&gt;\n1\n2분 5초"},
    };
    for (const Case& c : cases) {
        const NewMessage m{7, c.number, c.name, "2026-12-08 09:00:05", c.seconds, "/x/090005.vrc"};
        const auto t = MessageNotifier::TextsFor(m);
        EXPECT_EQ(t.summary, "새 메시지");
        EXPECT_EQ(t.body, QString::fromUtf8(c.body)) << c.seconds;
    }
}

TEST_F(RingNotifierBusTest, EachNewMessageIsShownAndANewerOneReplacesIt) {
    Serve();
    MessageNotifier messages(client_);
    RingNotifier rings(client_);
    messages.Arrived({1, "0311112222", "홍길동", "2026-12-08 09:00:05", 6, "/r/090005.vrc"});
    ASSERT_TRUE(PumpUntil([&] { return messages.Answers() == 1; }));
    rings.Ringing("", "0322223333");  // a ring has a notification of its own
    ASSERT_TRUE(PumpUntil([&] { return rings.Answers() == 1; }));
    messages.Arrived({2, "0322223333", "", "2026-12-08 09:01:00", 75, "/r/090100.vrc"});
    ASSERT_TRUE(PumpUntil([&] { return messages.Answers() == 2; }));
    ASSERT_EQ(service_.notified.size(), 3);
    EXPECT_EQ(service_.notified[0].summary, "새 메시지");
    EXPECT_EQ(service_.notified[0].body, "홍길동\n0311112222\n6초");
    EXPECT_EQ(service_.notified[0].replaces, 0u);
    EXPECT_EQ(service_.notified[1].replaces, 0u);
    EXPECT_EQ(service_.notified[2].replaces, messages.Shown());
    EXPECT_EQ(service_.notified[2].body, "0322223333\n1분 15초");
    EXPECT_NE(messages.Shown(), rings.Shown());
}

}  // namespace
}  // namespace vantelo

#include "RingNotifierTest.moc"
