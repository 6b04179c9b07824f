// `vantelo --headless` on an office's shared store: DatabaseUrl names a
// database of a private PostgreSQL server; the real program on a simulated
// line names its caller from the server's contact book, logs the call there
// with its desk, writes no database file of its own, and `vtdb calls` reads
// the same call log. Every wait has a deadline.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "HeadlessProcess.h"
#include "linesim/ScopedDaemon.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

class HeadlessSharedStore : public ::testing::Test {
protected:
    void SetUp() override {
        PhoneSettings s;
        s.IntExtDelay = 0;
        s.DatabaseUrl = uri_;
        s.DeskName = "창구";
        ASSERT_TRUE(SaveSettings(s));
        ASSERT_TRUE(PrepareDatabase(clock_, uri_).ok());
        CRSAddressList contacts;
        ASSERT_TRUE(contacts.Open(uri_).ok());
        ContactRecord kim;
        *kim.Field("Name") = "홍길동";
        *kim.Field("HomePhone") = "0212345678";
        ASSERT_TRUE(contacts.AddContact(kim).ok());
        ASSERT_EQ(daemon_.Command("speed 20").rfind("OK", 0), 0u);
    }

    vt::test::TestEnvironment env_;
    std::string uri_ = vt::test::PostgresServer::Shared().NewDatabase();
    linesim::test::ScopedDaemon daemon_{0};
    vt::SystemClock clock_;
};

TEST_F(HeadlessSharedStore, TheDeskLogsIntoTheSharedCallLogAndVtdbReadsIt) {
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    // A missed call: one ring burst with caller ID, then the caller gives up.
    ASSERT_EQ(daemon_.Command("ring 1000 1000 1").rfind("OK", 0), 0u);
    ASSERT_TRUE(phone.WaitFor("status: 전화가 왔습니다.")) << Story(phone, env_.AppHome());
    daemon_.Command("cid 0212345678");
    ASSERT_TRUE(phone.WaitFor("number: 홍길동\\n0212345678")) << Story(phone, env_.AppHome());
    const auto rows = CallRows(uri_, 1);
    ASSERT_EQ(rows.size(), 1u) << Story(phone, env_.AppHome());
    EXPECT_EQ(rows[0].CallMode, kCallMissed);
    EXPECT_EQ(rows[0].CallName, "홍길동");

    CRSCallList log(uri_);
    ASSERT_TRUE(log.Open().ok());
    ASSERT_TRUE(log.MoveFirst().ok());
    EXPECT_EQ(log.GetText("CallDesk"), "창구");
    EXPECT_EQ(log.GetText("CallUid").size(), 36u);
    EXPECT_FALSE(fs::exists(env_.AppHome() / kDatabaseFileName));

    vt::test::ChildProcess vtdb(vt::test::BinaryFolder() / "vtdb", {"calls"});
    const auto status = vtdb.WaitExit(std::chrono::seconds(10));
    ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << vtdb.Output();
    EXPECT_NE(vtdb.Output().find("2\t홍길동\t0212345678\t"), std::string::npos) << vtdb.Output();
}

}  // namespace
}  // namespace vantelo
