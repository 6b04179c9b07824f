// The news between desks of one shared database: the payload of a ring
// announcement, the tables whose changes every desk hears (migration 4), and
// the rings one desk's line announces to the others.

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "storage/Connection.h"
#include "testsupport/Eventually.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/DeskChannel.h"
#include "vantelo/core/LineWatchers.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

using Kind = RingAnnouncement::Kind;
using vt::test::Eventually;

const vt::FixedClock kClock = vt::FixedClock::At(2007, 3, 12, 9, 5, 7);

TEST(RingAnnouncementTest, PayloadCarriesEveryKindAndOnlyItsOwnAreRead) {
    const struct {
        RingAnnouncement sent;
        std::string notice;
        std::string popup;
    } cases[] = {
        {{Kind::Ringing, "A", "0212345678", "홍길동"},
         "A: 홍길동 0212345678",
         "A\n홍길동\n0212345678"},
        {{Kind::Ringing, "front desk", "0212345678", ""},
         "front desk: 0212345678",
         "front desk\n0212345678"},
        {{Kind::Ringing, "A", "", ""}, "A: ", "A"},
        {{Kind::Answered, "A", "", ""}, "A: ", "A"},
        {{Kind::Stopped, "B", "", ""}, "B: ", "B"},
    };
    for (const auto& c : cases) {
        const auto read = RingAnnouncement::Parse(c.sent.Payload());
        ASSERT_TRUE(read) << c.sent.Payload();
        EXPECT_EQ(read->kind, c.sent.kind);
        EXPECT_EQ(read->desk, c.sent.desk);
        EXPECT_EQ(read->number, c.sent.number);
        EXPECT_EQ(read->name, c.sent.name);
        EXPECT_EQ(read->NoticeText(), c.notice);
        EXPECT_EQ(read->PopupText(), c.popup);
    }
    // Separators inside a field do not shift the others.
    const auto odd =
        RingAnnouncement::Parse(RingAnnouncement{Kind::Ringing, "A\tB", "02\n1", "x\ty"}.Payload());
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->desk, "A B");
    EXPECT_EQ(odd->number, "02 1");
    EXPECT_EQ(odd->name, "x y");
    for (const char* bad : {"", "ring", "ring\tA\t1", "ring\t\t1\tn", "rang\tA\t1\tn",
                            "ring\tA\t1\tn\textra", "CallList"})
        EXPECT_FALSE(RingAnnouncement::Parse(bad)) << bad;
}

// What one desk's channel heard, read from the test's thread.
class Desk {
public:
    Desk(const std::string& uri, const std::string& name) {
        channel_ = DeskChannel::Open(uri, name,
                                     {[this](const std::string& table) {
                                          std::lock_guard lock(mutex_);
                                          tables_.push_back(table);
                                      },
                                      [this](const RingAnnouncement& ring) {
                                          std::lock_guard lock(mutex_);
                                          rings_.push_back(ring);
                                      },
                                      {}});
    }
    DeskChannel* Channel() { return channel_.get(); }
    bool HeardTable(const std::string& table) {
        std::lock_guard lock(mutex_);
        return std::find(tables_.begin(), tables_.end(), table) != tables_.end();
    }
    std::vector<RingAnnouncement> Rings() {
        std::lock_guard lock(mutex_);
        return rings_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> tables_;
    std::vector<RingAnnouncement> rings_;
    std::unique_ptr<DeskChannel> channel_;
};

TEST(DeskChannelTest, DatabaseFileHasNoOtherDesks) {
    vt::test::TestEnvironment env;
    EXPECT_EQ(DeskChannel::Open(env.AppHome() / kDatabaseFileName, "A", {}), nullptr);
}

TEST(DeskChannelTest, ChangesOfTheSharedTablesReachEveryDesk) {
    vt::test::TestEnvironment env;
    const std::string uri = vt::test::PostgresServer::Shared().NewDatabase();
    ASSERT_TRUE(PrepareDatabase(kClock, uri).ok());
    Desk desk(uri, "B");
    ASSERT_TRUE(desk.Channel());
    ASSERT_TRUE(Eventually([&] { return desk.Channel()->Listening(); }));
    auto other = storage::Connection::Open(uri);
    ASSERT_TRUE(other.ok());
    const struct {
        const char* table;
        const char* sql;
    } cases[] = {
        {"CallList", "INSERT INTO \"CallList\" (\"CallNum\") VALUES ('0212345678')"},
        {"AddressList", "INSERT INTO \"AddressList\" (\"Name\") VALUES ('홍길동')"},
        {"InnerLineList", "INSERT INTO \"InnerLineList\" (\"Name\") VALUES ('총무과')"},
        {"BlockList", "INSERT INTO \"BlockList\" (\"Pattern\") VALUES ('070*')"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(other.value()->Exec(c.sql).ok()) << c.sql;
        EXPECT_TRUE(Eventually([&] { return desk.HeardTable(c.table); })) << c.table;
    }
    // A deletion is news too.
    ASSERT_TRUE(Eventually([&] { return desk.HeardTable("BlockList"); }));
    Desk later(uri, "C");
    ASSERT_TRUE(Eventually([&] { return later.Channel()->Listening(); }));
    ASSERT_TRUE(other.value()->Exec("DELETE FROM \"CallList\"").ok());
    EXPECT_TRUE(Eventually([&] { return later.HeardTable("CallList"); }));
    EXPECT_FALSE(later.HeardTable("AddressList"));
}

TEST(DeskChannelTest, RingsOfOneDeskReachTheOthersButNotItself) {
    vt::test::TestEnvironment env;
    const std::string uri = vt::test::PostgresServer::Shared().NewDatabase();
    ASSERT_TRUE(PrepareDatabase(kClock, uri).ok());
    Desk a(uri, "A");
    Desk b(uri, "B");
    ASSERT_TRUE(a.Channel() && b.Channel());
    ASSERT_TRUE(Eventually([&] { return a.Channel()->Listening() && b.Channel()->Listening(); }));
    // Beside another watcher, as the programs hand it to the controller.
    LineWatcher quiet;
    LineWatchers line{&quiet, nullptr, &a.Channel()->Watcher()};
    ASSERT_EQ(line.OrNull(), &line);

    // A screened-out caller is nobody's news; its ring ending neither.
    line.CallerIdArrived("07012345678", "", true);
    line.RingingStopped(false);
    line.CallerIdArrived("0212345678", "홍길동", false);
    line.RingingStopped(true);
    line.CallerIdArrived("0311112222", "", false);
    line.RingingStopped(false);
    ASSERT_TRUE(Eventually([&] { return b.Rings().size() >= 4; }));
    const std::vector<RingAnnouncement> rings = b.Rings();
    ASSERT_EQ(rings.size(), 4u);
    EXPECT_EQ(rings[0].kind, Kind::Ringing);
    EXPECT_EQ(rings[0].NoticeText(), "A: 홍길동 0212345678");
    EXPECT_EQ(rings[1].kind, Kind::Answered);
    EXPECT_EQ(rings[1].desk, "A");
    EXPECT_EQ(rings[2].NoticeText(), "A: 0311112222");
    EXPECT_EQ(rings[3].kind, Kind::Stopped);
    EXPECT_TRUE(a.Rings().empty());
    EXPECT_EQ(LineWatchers({nullptr}).OrNull(), nullptr);
}

}  // namespace
}  // namespace vantelo
