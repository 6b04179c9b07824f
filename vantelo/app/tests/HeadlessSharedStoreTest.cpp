// `vantelo --headless` on an office's shared store: DatabaseUrl names a
// database of a private PostgreSQL server; the real program on a simulated
// line names its caller from the server's contact book, logs the call there
// with its desk, writes no database file of its own, and `vtdb calls` reads
// the same call log; a call it records is exported on another desk from the
// copy on the server. While the server is away the desk keeps its calls and
// hands them over, each once, when it is back. Every wait has a deadline.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <set>
#include <thread>

#include "HeadlessProcess.h"
#include "NcidTestClient.h"
#include "linesim/ScopedDaemon.h"
#include "storage/ChunkedFiles.h"
#include "testsupport/ChildProcess.h"
#include "platform/IniStore.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/ProbeProcess.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CallSpool.h"
#include "vantelo/core/OfflineCopy.h"
#include "vantelo/core/CallLogBackup.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/SharedRecordings.h"
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
        s.ModeRecAuto = kRecAutoOutgoing;
        s.ModeRecCompress = 3;
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

// The line of each logged call is the desk it came in on.
TEST_F(HeadlessSharedStore, ACallerIdClientGetsTheOfficesCallLogAtConnect) {
    // A call another desk logged.
    {
        PhoneSettings other;
        ASSERT_TRUE(LoadSettings(other));
        other.DeskName = "상담실";
        ASSERT_TRUE(SaveSettings(other));
        CRSCallList calls(uri_);
        ASSERT_TRUE(calls.Open().ok());
        CallRecord earlier;
        earlier.Reset(clock_);
        earlier.CallMode = kCallMissed;
        earlier.CallNum = "0311112222";
        earlier.CallName = "김철수";
        earlier.CallDate = {2026, 12, 8, 14, 30, 0};
        ASSERT_TRUE(calls.AppendCall(earlier, clock_).ok());
        other.DeskName = "창구";
        ASSERT_TRUE(SaveSettings(other));
    }
    const auto port = static_cast<unsigned short>(vt::test::FreeLoopbackPort());
    vt::IniStore ini(vt::SettingsFilePath());
    ASSERT_TRUE(ini.Load());
    ini.SetString(vt::kSettingsSection, "CallerIdServer", "127.0.0.1:" + std::to_string(port));
    ASSERT_TRUE(ini.Save());
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    callerid::test::NcidTestClient client(port);
    ASSERT_TRUE(client.Connected());
    const auto startup = client.ReadUntil("300 ");
    ASSERT_TRUE(startup) << Story(phone, env_.AppHome());
    ASSERT_EQ(startup->size(), 5u);
    EXPECT_EQ((*startup)[2],
              "CIDLOG: *DATE*12082026*TIME*1430*LINE*상담실*NMBR*0311112222*MESG*NONE*NAME*김철수*");
}

TEST_F(HeadlessSharedStore, CallsWhileTheServerIsAwayAreLoggedOnceWhenItIsBack) {
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    // The desk's copy of the contact book names callers while the server is away.
    const fs::path copy = env_.AppHome() / OfflineCopy::kFileName;
    for (int i = 0; i < 500; ++i) {
        CRSAddressList copied;
        if (copied.Open(copy).ok() && copied.FindName("0212345678", "").value_or("") == "홍길동")
            break;
        std::this_thread::sleep_for(20ms);
    }
    vt::test::PostgresServer::Shared().Halt();
    const fs::path spool = env_.AppHome() / CallSpool::kFileName;
    for (std::size_t n = 1; n <= 3; ++n) {
        ASSERT_EQ(daemon_.Command("ring 1000 1000 1").rfind("OK", 0), 0u);
        daemon_.Command("cid 0212345678");
        ASSERT_TRUE(phone.WaitFor("popup: 홍길동\\n0212345678")) << Story(phone, env_.AppHome());
        ASSERT_EQ(CallRows(spool, n).size(), n) << Story(phone, env_.AppHome());
    }
    vt::test::PostgresServer::Shared().Resume();
    ASSERT_TRUE(phone.WaitFor("status: 공유 저장소에 다시 연결되었습니다", 30s))
        << Story(phone, env_.AppHome());
    // One more call on the server again: four rows, none doubled.
    ASSERT_EQ(daemon_.Command("ring 1000 1000 1").rfind("OK", 0), 0u);
    daemon_.Command("cid 0212345678");
    const auto rows = CallRows(uri_, 4);
    ASSERT_EQ(rows.size(), 4u) << Story(phone, env_.AppHome());
    std::set<std::string> uids;
    CRSCallList log(uri_);
    ASSERT_TRUE(log.Open().ok());
    for (long i = 0; i < log.GetRecordCount(); ++i)
        if (log.SetAbsolutePosition(i).ok())
            uids.insert(log.GetText("CallUid"));
    EXPECT_EQ(uids.size(), 4u);
    for (const CallRecord& row : rows) {
        EXPECT_EQ(row.CallName, "홍길동");
        EXPECT_EQ(row.CallMode, kCallMissed);
    }
    EXPECT_EQ(CallRows(spool, 0).size(), 0u);
    const std::string transcript = phone.Transcript();
    const std::string away = "status: 공유 저장소에 연결할 수 없습니다\n";
    const size_t first = transcript.find(away);
    EXPECT_NE(first, std::string::npos) << transcript;
    EXPECT_EQ(transcript.find(away, first + 1), std::string::npos) << "told once: " << transcript;
}

TEST_F(HeadlessSharedStore, DeskBExportsTheRecordingOfACallDeskARecorded) {
    using namespace std::chrono_literals;
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    // An outgoing call, recorded once the dialling is done.
    auto dial =
        vt::test::RunProbe(vt::test::BinaryFolder() / "vantelo", {"--dial", "0315550000"}, 10s);
    ASSERT_TRUE(WIFEXITED(dial.status) && WEXITSTATUS(dial.status) == 0);
    ASSERT_TRUE(phone.WaitFor("status: 녹음중입니다.")) << Story(phone, env_.AppHome());
    daemon_.Command("answer");
    std::this_thread::sleep_for(500ms);
    auto hangUp = vt::test::RunProbe(vt::test::BinaryFolder() / "vantelo", {"--hangup"}, 10s);
    ASSERT_TRUE(WIFEXITED(hangUp.status) && WEXITSTATUS(hangUp.status) == 0);
    const auto rows = CallRows(uri_, 1);
    ASSERT_EQ(rows.size(), 1u) << Story(phone, env_.AppHome());
    ASSERT_TRUE(rows[0].CallRec);
    const fs::path recording = rows[0].CallRecDirectory + rows[0].CallRecFileName;
    const std::string bytes = vt::test::ReadText(recording);
    ASSERT_FALSE(bytes.empty());

    // The desk uploads it behind the phone's back.
    auto c = storage::Connection::Open(uri_);
    ASSERT_TRUE(c.ok());
    storage::ChunkedFiles stored(*c.value(), RecordingTable());
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (!stored.Find(rows[0].CallUid).value_or(std::nullopt) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(50ms);
    auto found = stored.Find(rows[0].CallUid);
    ASSERT_TRUE(found.ok() && found.value()) << Story(phone, env_.AppHome());
    EXPECT_EQ(found.value()->name, rows[0].CallRecFileName);
    EXPECT_EQ(found.value()->size, static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(phone.Terminate(), 0) << Story(phone, env_.AppHome());
    EXPECT_EQ(vt::test::ReadText(recording), bytes) << "the local file stays";

    // Desk B: another PC with its own application folder and cache.
    fs::rename(env_.AppHome(), env_.Root() / "desk A elsewhere");
    env_.Set("VANTELO_HOME", (env_.Root() / "deskB").string());
    env_.Set("XDG_CACHE_HOME", (env_.Root() / "deskB cache").string());
    const fs::path dest = env_.Root() / "export";
    vt::test::ChildProcess vtdb(vt::test::BinaryFolder() / "vtdb", {"backup", dest.string()});
    const auto status = vtdb.WaitExit(std::chrono::seconds(20));
    ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << vtdb.Output();
    const fs::path exported = dest / CallLogBackup::CallTimeText(rows[0].CallDate).substr(0, 10) /
                              rows[0].CallRecFileName;
    EXPECT_EQ(vt::test::ReadText(exported), bytes) << vtdb.Output();
    const fs::path cache = env_.Root() / "deskB cache" / "vantelo" / "recordings";
    struct stat st {};
    ASSERT_EQ(::stat(cache.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(vt::test::ReadText(cache / (rows[0].CallUid + recording.extension().string())),
              bytes);
}

}  // namespace
}  // namespace vantelo
