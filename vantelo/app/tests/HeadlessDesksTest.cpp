// Two `vantelo --headless` desks, each on its own simulated line and in its
// own private environment, sharing one database of a private PostgreSQL
// server: a call ringing on one desk is a notice line on the other, and so
// is how its ringing ended; a desk hears nothing of its own rings. A contact
// one desk adds names the other desk's next caller, and that call is in the
// first desk's call log. Every wait has a deadline.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <optional>

#include "HeadlessProcess.h"
#include "linesim/ScopedDaemon.h"
#include "storage/ChangeListener.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/Eventually.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

using vt::test::PostgresServer;

// One desk: its environment (settings, sockets), its line and its program.
// Made one after another; each environment holds the variables until the
// next one is made, so a desk's line is driven while it is the newest.
struct Desk {
    Desk(const std::string& uri, const std::string& name) {
        PhoneSettings s;
        s.IntExtDelay = 0;
        s.DatabaseUrl = uri;
        s.DeskName = name;
        EXPECT_TRUE(SaveSettings(s));
        EXPECT_EQ(daemon.Command("speed 20").rfind("OK", 0), 0u);
        phone.emplace();
        EXPECT_TRUE(phone->WaitUntilServing());
    }
    ~Desk() { phone.reset(); }  // before its line goes

    vt::test::TestEnvironment env;
    linesim::test::ScopedDaemon daemon{0};
    std::optional<HeadlessProcess> phone;
};

// True once `count` desks listen on the database (their LISTEN done).
bool Listening(const std::string& uri, int count) {
    return vt::test::Eventually([&] {
        const std::string n = PostgresServer::Shared().Value(
            uri,
            std::string("SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() "
                        "AND state = 'idle' AND query LIKE 'LISTEN%' AND application_name = '") +
                storage::ChangeListener::kApplicationName + "'");
        return n == std::to_string(count);
    });
}

// `vtdb` with `args` as run on `desk` (its settings and data), and its output.
std::string VtdbOn(const Desk& desk, const std::vector<std::string>& args) {
    std::vector<std::string> all = {"XDG_CONFIG_HOME=" + desk.env.ConfigHome().string(),
                                    "VANTELO_HOME=" + desk.env.AppHome().string(),
                                    "XDG_RUNTIME_DIR=" + desk.env.RuntimeDir().string(),
                                    (vt::test::BinaryFolder() / "vtdb").string()};
    all.insert(all.end(), args.begin(), args.end());
    vt::test::ChildProcess vtdb("/usr/bin/env", all);
    const auto status = vtdb.WaitExit(std::chrono::seconds(10));
    EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << vtdb.Output();
    return vtdb.Output();
}

TEST(HeadlessDesks, AContactAddedOnOneDeskNamesTheOtherDesksCallerInBothLogs) {
    const std::string uri = PostgresServer::Shared().NewDatabase();
    Desk b(uri, "상담실");
    Desk a(uri, "창구");  // the newest: its line is the one driven
    VtdbOn(b, {"add-contact", "Name=김철수", "HomePhone=0311112222"});

    ASSERT_EQ(a.daemon.Command("ring 1000 1000 1").rfind("OK", 0), 0u);
    ASSERT_TRUE(a.phone->WaitFor("status: 전화가 왔습니다.")) << Story(*a.phone, a.env.AppHome());
    a.daemon.Command("cid 0311112222");
    ASSERT_TRUE(a.phone->WaitFor("number: 김철수\\n0311112222"))
        << Story(*a.phone, a.env.AppHome());
    ASSERT_EQ(CallRows(uri, 1).size(), 1u) << Story(*a.phone, a.env.AppHome());
    const std::string calls = VtdbOn(b, {"calls"});
    EXPECT_NE(calls.find("2\t김철수\t0311112222\t"), std::string::npos) << calls;
}

TEST(HeadlessDesks, ARingOnOneDeskIsANoticeOnTheOtherUntilItEnds) {
    const std::string uri = PostgresServer::Shared().NewDatabase();
    {
        vt::test::TestEnvironment setup;
        vt::SystemClock clock;
        ASSERT_TRUE(PrepareDatabase(clock, uri).ok());
        CRSAddressList contacts;
        ASSERT_TRUE(contacts.Open(uri).ok());
        ContactRecord kim;
        *kim.Field("Name") = "홍길동";
        *kim.Field("HomePhone") = "0212345678";
        ASSERT_TRUE(contacts.AddContact(kim).ok());
    }
    Desk other(uri, "상담실");
    Desk ringing(uri, "창구");  // the newest: its line is the one driven
    ASSERT_TRUE(Listening(uri, 2)) << other.phone->Transcript() << ringing.phone->Transcript();
    HeadlessProcess& a = *ringing.phone;
    HeadlessProcess& b = *other.phone;

    // A caller who gives up.
    ASSERT_EQ(ringing.daemon.Command("ring 1000 1000 1").rfind("OK", 0), 0u);
    ASSERT_TRUE(a.WaitFor("status: 전화가 왔습니다.")) << Story(a, ringing.env.AppHome());
    ringing.daemon.Command("cid 0212345678");
    ASSERT_TRUE(a.WaitFor("number: 홍길동\\n0212345678")) << Story(a, ringing.env.AppHome());
    EXPECT_TRUE(b.WaitFor("notice: 창구: 홍길동 0212345678")) << b.Transcript();
    EXPECT_TRUE(b.WaitFor("notice: 창구: 벨이 멈췄습니다", 20s)) << b.Transcript();

    // A caller answered on the ringing desk.
    std::this_thread::sleep_for(300ms);  // the line settles between calls, as a caller's would
    ASSERT_EQ(ringing.daemon.Command("ring 1000 1000").rfind("OK", 0), 0u);
    // The status line still says it rings; the pop-up opens again.
    ASSERT_TRUE(a.WaitFor("popup: Vantelo\\n Ring")) << Story(a, ringing.env.AppHome());
    ringing.daemon.Command("cid 0311112222");
    EXPECT_TRUE(b.WaitFor("notice: 창구: 0311112222")) << b.Transcript();
    a.Send("hook");
    ASSERT_TRUE(a.WaitFor("status: 통화 상태입니다.")) << Story(a, ringing.env.AppHome());
    EXPECT_TRUE(b.WaitFor("notice: 창구: 전화를 받았습니다")) << b.Transcript();
    a.Send("hook");

    // Neither desk shows its own rings, nor did the other desk ring.
    EXPECT_EQ(a.Transcript().find("notice:"), std::string::npos) << a.Transcript();
    EXPECT_EQ(b.Transcript().find("notice: 상담실"), std::string::npos) << b.Transcript();
}

}  // namespace
}  // namespace vantelo
