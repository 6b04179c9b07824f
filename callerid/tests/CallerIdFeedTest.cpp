// The phone's line events as a client of the protocol sees them.

#include <gtest/gtest.h>

#include "NcidTestClient.h"
#include "callerid/CallerIdFeed.h"

namespace callerid {
namespace {

using test::NcidTestClient;

class CallerIdFeedTest : public ::testing::Test {
protected:
    void SetUp() override {
        ServerAddress address = *ServerAddress::Parse("127.0.0.1:1");
        reinterpret_cast<sockaddr_in*>(&address.socket)->sin_port = 0;
        ASSERT_TRUE(server_.Start(address));
    }

    // The lines a client connected now gets from `events` on.
    std::vector<std::string> LinesOf(const std::function<void()>& events) {
        NcidTestClient client(server_.Port());
        EXPECT_TRUE(client.ReadUntil("300 "));
        while (server_.ClientCount() == 0) std::this_thread::yield();
        events();
        server_.Publish("END");
        auto lines = client.ReadUntil("END");
        EXPECT_TRUE(lines);
        if (!lines)
            return {};
        lines->pop_back();
        return *lines;
    }

    CallerIdServer server_{[](const Notice&) {}};
    vt::FixedClock clock_ = vt::FixedClock::At(2026, 12, 9, 22, 50, 7);
    CallerIdFeed feed_{server_, "desk-3", clock_};
};

TEST_F(CallerIdFeedTest, EachCallIsToldAsItHappens) {
    struct Case {
        const char* name;
        std::function<void(CallerIdFeed&)> events;
        std::vector<std::string> lines;
    };
    const std::string cid =
        "CID: *DATE*12092026*TIME*2250*LINE*desk-3*NMBR*0212345678*MESG*NONE*NAME*홍길동*";
    auto info = [](int ring) {
        return "CIDINFO: *LINE*desk-3*RING*" + std::to_string(ring) + "*TIME*22:50:07*";
    };
    const Case cases[] = {
        {"missed, caller ID before the ring",
         [](CallerIdFeed& f) {
             f.CallerIdArrived("0212345678", "홍길동", false);
             f.Rang();
             f.Rang();
             f.RingingStopped(false);
         },
         {cid, info(1), info(2), info(0), info(-1)}},
        {"answered, caller ID after the first ring",
         [](CallerIdFeed& f) {
             f.Rang();
             f.CallerIdArrived("0212345678", "홍길동", false);
             f.Rang();
             f.RingingStopped(true);
             f.HungUp();
         },
         {info(1), cid, info(2), info(0), info(-2)}},
        {"a withheld caller",
         [](CallerIdFeed& f) {
             f.Rang();
             f.CallerIdArrived("", "", false);
             f.RingingStopped(false);
         },
         {info(1), "CID: *DATE*12092026*TIME*2250*LINE*desk-3*NMBR*PRIVATE*MESG*NONE*NAME*NO NAME*",
          info(0), info(-1)}},
        {"a caller kept out",
         [](CallerIdFeed& f) {
             f.CallerIdArrived("0311112222", "", true);
             f.RingingStopped(true);  // answered to be released
             f.HungUp();
         },
         {"BLK: *DATE*12092026*TIME*2250*LINE*desk-3*NMBR*0311112222*MESG*NONE*NAME*NO NAME*",
          info(0), info(-2)}},
        {"an outgoing call is no news", [](CallerIdFeed& f) { f.HungUp(); }, {}},
        {"rings count again for the next call",
         [](CallerIdFeed& f) {
             f.Rang();
             f.RingingStopped(false);
             f.Rang();
         },
         {info(1), info(0), info(-1), info(1)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LinesOf([&] { c.events(feed_); }), c.lines);
        feed_.HungUp();  // the next case starts idle
    }
}

TEST_F(CallerIdFeedTest, TheMessageCountIsToldWhenItChanges) {
    const auto lines = LinesOf([&] {
        feed_.NewMessagesChanged(0);
        feed_.NewMessagesChanged(0);
        feed_.NewMessagesChanged(2);
        feed_.NewMessagesChanged(1);
    });
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "MWI: *DATE*12092026*TIME*2250*LINE*desk-3*NMBR*0*MESG*CLEAR*NAME*NO MESSAGES*");
    EXPECT_EQ(lines[1],
              "MWI: *DATE*12092026*TIME*2250*LINE*desk-3*NMBR*2*MESG*SET*NAME*MESSAGE WAITING*");
    EXPECT_NE(lines[2].find("*NMBR*1*MESG*SET*"), std::string::npos);
}

TEST_F(CallerIdFeedTest, TheLogAtConnectHoldsEarlierAndNewCallers) {
    feed_.RememberCalls({{{2026, 12, 1, 8, 3, 0}, "desk-3", "0101", "가"},
                         {{2026, 12, 2, 9, 4, 0}, "desk-3", "0102", ""}});
    LinesOf([&] {
        feed_.CallerIdArrived("0212345678", "홍길동", false);
        feed_.CallerIdArrived("0399999999", "", true);  // kept out: not in the log
        feed_.RingingStopped(false);
    });
    NcidTestClient client(server_.Port());
    const auto startup = client.ReadUntil("300 ");
    ASSERT_TRUE(startup);
    const std::vector<std::string> log(startup->begin() + 2, startup->end() - 2);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "CIDLOG: *DATE*12012026*TIME*0803*LINE*desk-3*NMBR*0101*MESG*NONE*NAME*가*",
                       "CIDLOG: *DATE*12022026*TIME*0904*LINE*desk-3*NMBR*0102*MESG*NONE*NAME*NO "
                       "NAME*",
                       "CIDLOG: *DATE*12092026*TIME*2250*LINE*desk-3*NMBR*0212345678*MESG*NONE*"
                       "NAME*홍길동*"}));
}

}  // namespace
}  // namespace callerid
