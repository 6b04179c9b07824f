// `vantelo` with its window, end to end on the offscreen platform: the real
// program on the real line library and a simulated adapter (`linesim
// serve`), a real database with a contact. What the window shows is checked
// where it lands (the call log rows, the line), so the test needs no hook
// inside the program. Every wait has a deadline.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "NcidTestClient.h"
#include "linesim/ScopedDaemon.h"
#include "platform/Folders.h"
#include "platform/IniStore.h"
#include "platform/RequestClient.h"
#include "testsupport/ProbeProcess.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

fs::path Program() {
    return vt::test::BinaryFolder() / "vantelo";
}

// Waits up to `timeout` for `ready`.
template <typename Ready>
bool WaitUntil(Ready ready, std::chrono::milliseconds timeout = 10s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The processes whose parent is this one but `except` (a program a link
// started, adopted here).
std::vector<pid_t> Children(pid_t except) {
    std::vector<pid_t> children;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const auto close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == ::getpid() && std::stoi(name) != except)
            children.push_back(std::stoi(name));
    }
    return children;
}

class WindowEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Set("QT_QPA_PLATFORM", "offscreen");
        PhoneSettings s;
        s.IntExtDelay = 0;
        ASSERT_TRUE(SaveSettings(s));
        ASSERT_TRUE(PrepareDatabase(clock_, database_).ok());
        CRSAddressList contacts;
        ASSERT_TRUE(contacts.Open(database_).ok());
        ContactRecord hong;
        *hong.Field("Name") = "홍길동";
        *hong.Field("HomePhone") = "0212345678";
        ASSERT_TRUE(contacts.AddContact(hong).ok());
    }

    void TearDown() override {
        if (phone_.pid > 0) {
            ::kill(phone_.pid, SIGKILL);
            ::waitpid(phone_.pid, nullptr, 0);
        }
        // A program a link started was adopted by this process.
        for (pid_t child : Children(daemon_.Pid())) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
    }

    void Start() {
        phone_ = vt::test::StartProbe(Program(), {}, output_);
        ASSERT_GT(phone_.pid, 0);
        ASSERT_TRUE(Serving()) << Output();
    }

    bool Serving() {
        return WaitUntil([] { return fs::exists(vt::RequestSocketPath()); });
    }

    // SIGTERM, then the exit status within the deadline (-1 if it hung).
    int Terminate() {
        ::kill(phone_.pid, SIGTERM);
        const auto exit = vt::test::WaitProbe(phone_, 10s);
        phone_.pid = 0;
        if (exit.hung)
            return -1;
        return WIFEXITED(exit.status) ? WEXITSTATUS(exit.status) : 128 + WTERMSIG(exit.status);
    }

    int Run(const std::vector<std::string>& args, const fs::path& output = {}) {
        const auto probe = vt::test::StartProbe(Program(), args, output);
        const auto exit = vt::test::WaitProbe(probe, 30s);
        EXPECT_FALSE(exit.hung);
        return WIFEXITED(exit.status) ? WEXITSTATUS(exit.status) : -1;
    }

    std::string Output() { return vt::test::ReadText(output_); }

    // The call log's rows once there are `count` of them.
    std::vector<CallRecord> Rows(std::size_t count) {
        std::vector<CallRecord> rows;
        WaitUntil([&] {
            rows.clear();
            CRSCallList set(database_);
            if (set.Open().ok())
                for (long i = 0; i < set.GetRecordCount(); ++i)
                    if (set.SetAbsolutePosition(i).ok())
                        if (auto row = set.CurrentCall(); row.ok())
                            rows.push_back(row.value());
            return rows.size() >= count;
        });
        return rows;
    }

    bool LineSays(const std::string& part) {
        return WaitUntil([&] { return daemon_.Command("status").find(part) != std::string::npos; });
    }

    vt::test::TestEnvironment env_;
    linesim::test::ScopedDaemon daemon_{0};
    vt::SystemClock clock_;
    fs::path database_ = env_.AppHome() / kDatabaseFileName;
    fs::path output_ = env_.Root() / "vantelo.out";
    vt::test::Probe phone_;
};

TEST_F(WindowEndToEnd, RingsDialsByRequestAndLinkAndEndsOnSigterm) {
    Start();
    // A second start is refused with the program's own words.
    const fs::path second = env_.Root() / "second.out";
    EXPECT_EQ(Run({}, second), 1);
    EXPECT_NE(vt::test::ReadText(second).find("이미 프로그램이 실행중입니다."), std::string::npos)
        << vt::test::ReadText(second);

    // A call with caller ID that nobody answers: logged as missed under
    // the name the window's address book gives the number.
    ASSERT_EQ(daemon_.Command("cid 0212345678").rfind("OK", 0), 0u);
    ASSERT_EQ(daemon_.Command("ring 1000 1000 1").rfind("OK", 0), 0u);
    auto rows = Rows(1);
    ASSERT_EQ(rows.size(), 1u) << Output();
    EXPECT_EQ(rows[0].CallMode, kCallMissed);
    EXPECT_EQ(rows[0].CallNum, "0212345678");
    EXPECT_EQ(rows[0].CallName, "홍길동");

    // The request socket's dial takes the line; its hang-up ends the call
    // (once the number is dialled: the dialling itself is not cut short).
    EXPECT_EQ(Run({"--dial", "0315550000"}), 0);
    ASSERT_TRUE(LineSays("call=ringback")) << daemon_.Command("status");
    EXPECT_EQ(Run({"--hangup"}), 0);
    ASSERT_TRUE(LineSays("hook=on")) << daemon_.Command("status");
    rows = Rows(2);
    ASSERT_EQ(rows.size(), 2u) << Output();
    EXPECT_EQ(rows[1].CallMode, kCallOutgoing);
    EXPECT_EQ(rows[1].CallNum, "0315550000");

    // A link that holds no number is refused with one line.
    const fs::path bad = env_.Root() / "bad.out";
    EXPECT_EQ(Run({"callto:nobody"}, bad), 1);
    EXPECT_EQ(vt::test::ReadText(bad), "vantelo: 링크에 전화번호가 없습니다: callto:nobody\n");

    // A tel: link with escapes and parameters dials its cleaned number.
    EXPECT_EQ(Run({"tel:%2B82-31-555-0001;phone-context=example.com"}), 0);
    ASSERT_TRUE(LineSays("call=ringback")) << daemon_.Command("status");

    // SIGTERM in the call: nobody is asked whether to leave it; the call
    // is ended and logged and the program ends promptly.
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(Terminate(), 0) << Output();
    std::printf("[ harness  ] SIGTERM ended the window program in a call in %.0f ms\n",
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - asked)
                    .count());
    EXPECT_TRUE(LineSays("hook=on")) << daemon_.Command("status");
    rows = Rows(3);
    ASSERT_EQ(rows.size(), 3u) << Output();
    EXPECT_EQ(rows[2].CallNum, "0315550001");
    EXPECT_FALSE(fs::exists(vt::RequestSocketPath()));
    vt::IniStore settings(vt::SettingsFilePath());
    ASSERT_TRUE(settings.Load());
    EXPECT_TRUE(settings.Has(vt::kSettingsSection, kMaxMessageKey)) << "saved at exit";
    vt::IniStore paths(vt::AppPathsFilePath());
    ASSERT_TRUE(paths.Load());
    EXPECT_EQ(paths.GetString("Vantelo.Exe", "Exe", ""), Program().string());
}

TEST_F(WindowEndToEnd, ALinkStartsTheProgramWhenNoneRunsAndDialsOnceItIsUp) {
    // The started program leaves the link's process; it is adopted here.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    EXPECT_EQ(Run({"callto://0315550002"}), 0);
    ASSERT_TRUE(LineSays("call=ringback")) << daemon_.Command("status");
    EXPECT_EQ(Run({"--hangup"}), 0);
    EXPECT_EQ(Rows(1).at(0).CallNum, "0315550002");
    // The close request runs its exit sequence.
    EXPECT_EQ(vt::RequestClient::Send(vt::kRequestClose, "").outcome,
              vt::RequestClient::Outcome::Ok);
    EXPECT_TRUE(WaitUntil([] { return !fs::exists(vt::RequestSocketPath()); }));
    EXPECT_TRUE(WaitUntil([&] {
        for (pid_t child : Children(daemon_.Pid()))
            ::waitpid(child, nullptr, WNOHANG);
        return Children(daemon_.Pid()).empty();
    })) << "the started program ended";
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
}

// The window serves caller ID to the network as the headless program does.
TEST_F(WindowEndToEnd, TheWindowServesCallerIdToTheNetwork) {
    const int port = vt::test::FreeLoopbackPort();
    vt::IniStore ini(vt::SettingsFilePath());
    ASSERT_TRUE(ini.Load());
    ini.SetString(vt::kSettingsSection, "CallerIdServer", std::to_string(port));
    ini.SetString(vt::kSettingsSection, "DeskName", "window-desk");
    ASSERT_TRUE(ini.Save());
    Start();
    callerid::test::NcidTestClient client(static_cast<unsigned short>(port));
    ASSERT_TRUE(client.Connected()) << Output();
    ASSERT_TRUE(client.ReadUntil("300 ")) << Output();
    ASSERT_EQ(daemon_.Command("ring 1000 1000").rfind("OK", 0), 0u);
    const auto ring = client.ReadUntil("CIDINFO:", 15s);
    ASSERT_TRUE(ring) << Output();
    EXPECT_EQ(ring->back().rfind("CIDINFO: *LINE*window-desk*RING*1*", 0), 0u) << ring->back();
    daemon_.Command("cid 0212345678");
    const auto cid = client.ReadUntil("CID:", 15s);
    ASSERT_TRUE(cid) << Output();
    EXPECT_NE(cid->back().find("*LINE*window-desk*NMBR*0212345678*MESG*NONE*NAME*홍길동*"),
              std::string::npos)
        << cid->back();
    daemon_.Command("ring stop");
    const auto end = client.ReadUntil("CIDINFO: *LINE*window-desk*RING*-1*", 15s);
    EXPECT_TRUE(end) << Output();
    EXPECT_EQ(Terminate(), 0) << Output();
}

}  // namespace
}  // namespace vantelo
