// The network caller-ID server of `vantelo --headless` on the simulated
// line, seen by a client of the protocol: the greeting and the call log at
// connect, CIDINFO at each ring and at the end of a call, CID with the
// contact book's name when the caller ID arrives, MWI when a message is
// left; and clients that misbehave hold up neither the phone nor the others.

#include <gtest/gtest.h>

#include <regex>

#include "HeadlessProcess.h"
#include "NcidTestClient.h"
#include "linesim/ScopedDaemon.h"
#include "platform/IniStore.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/UserLog.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

using callerid::test::NcidTestClient;

class HeadlessCallerId : public ::testing::Test {
protected:
    void SetUp() override {
        PhoneSettings s;
        s.ModeAbsence = kAbsenceCallerChooses;
        s.IntAbsenceRingTime = 1000;
        s.IntAbsenceTimeOut = 2000;
        s.IntAbsenceMaxMessage = 10;
        s.IntAbsenceSilence = 0;  // the far end's file ends long before the message
        s.IntExtDelay = 0;
        ASSERT_TRUE(SaveSettings(s));
        vt::IniStore ini(vt::SettingsFilePath());
        ASSERT_TRUE(ini.Load());
        ini.SetString(vt::kSettingsSection, "CallerIdServer", "127.0.0.1:" + std::to_string(port_));
        ini.SetString(vt::kSettingsSection, "DeskName", "desk-a");
        ASSERT_TRUE(ini.Save());

        ASSERT_TRUE(PrepareDatabase(clock_, database_).ok());
        CRSAddressList contacts;
        ASSERT_TRUE(contacts.Open(database_).ok());
        ContactRecord kim;
        *kim.Field("Name") = "홍길동";
        *kim.Field("HomePhone") = "0212345678";
        ASSERT_TRUE(contacts.AddContact(kim).ok());
        ASSERT_EQ(Sim("speed 20").rfind("OK", 0), 0u);
        farEnd_ = env_.Root() / "farend.wav";
        ASSERT_TRUE(vt::test::WritePcmWav(farEnd_, vt::test::SpeechLikeSamples(3000)));
    }

    std::string Sim(const std::string& command) { return daemon_.Command(command); }
    std::string Story(HeadlessProcess& phone) { return vantelo::Story(phone, env_.AppHome()); }

    // The ring count of a CIDINFO line of this desk.
    static std::string RingOf(const std::string& line) {
        static const std::regex ring(
            R"(CIDINFO: \*LINE\*desk-a\*RING\*(-?\d)\*TIME\*\d\d:\d\d:\d\d\*)");
        std::smatch m;
        return std::regex_match(line, m, ring) ? m[1].str() : "no ring line: " + line;
    }

    // The next line of `client` that begins with `prefix`.
    static std::string Next(NcidTestClient& client, const std::string& prefix) {
        const auto lines = client.ReadUntil(prefix, std::chrono::seconds(15));
        return lines ? lines->back() : std::string("(none)");
    }

    vt::test::TestEnvironment env_;
    linesim::test::ScopedDaemon daemon_{0};
    vt::SystemClock clock_;
    fs::path database_ = env_.AppHome() / kDatabaseFileName;
    fs::path farEnd_;
    unsigned short port_ = static_cast<unsigned short>(vt::test::FreeLoopbackPort());
};

TEST_F(HeadlessCallerId, AClientGetsTheLogTheCallsAndTheMessageCount) {
    // A call of yesterday is in the log.
    {
        CRSCallList calls(database_);
        ASSERT_TRUE(calls.Open().ok());
        CallRecord earlier;
        earlier.Reset(clock_);
        earlier.CallMode = kCallMissed;
        earlier.CallNum = "0311112222";
        earlier.CallName = "김철수";
        earlier.CallDate = {2026, 12, 8, 14, 30, 0};
        ASSERT_TRUE(calls.AppendCall(earlier, clock_).ok());
    }
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    NcidTestClient client(port_);
    ASSERT_TRUE(client.Connected());
    const auto startup = client.ReadUntil("300 ");
    ASSERT_TRUE(startup) << Story(phone);
    ASSERT_EQ(startup->size(), 5u);
    EXPECT_EQ((*startup)[0].rfind("200 ", 0), 0u);
    EXPECT_EQ((*startup)[1].rfind("210 ", 0), 0u);
    EXPECT_EQ(
        (*startup)[2],
        "CIDLOG: *DATE*12082026*TIME*1430*LINE*desk-a*NMBR*0311112222*MESG*NONE*NAME*김철수*");
    EXPECT_EQ((*startup)[3], "250 End of call log");

    // 1. Answered: a ring, the caller ID with the contact's name, the answer
    //    and the hang-up.
    ASSERT_EQ(Sim("ring 1000 1000").rfind("OK", 0), 0u);
    EXPECT_EQ(RingOf(Next(client, "CIDINFO:")), "1") << Story(phone);
    Sim("cid 0212345678");
    const std::string cid = Next(client, "CID:");
    EXPECT_TRUE(std::regex_match(
        cid, std::regex(R"(CID: \*DATE\*\d{8}\*TIME\*\d{4}\*LINE\*desk-a\*NMBR\*0212345678)"
                        R"(\*MESG\*NONE\*NAME\*홍길동\*)")))
        << cid;
    ASSERT_TRUE(phone.WaitFor("number: 홍길동\\n0212345678")) << Story(phone);
    phone.Send("hook");
    EXPECT_EQ(RingOf(Next(client, "CIDINFO:")), "0") << Story(phone);
    ASSERT_TRUE(phone.WaitFor("status: 통화 상태입니다.")) << Story(phone);
    phone.Send("hook");
    EXPECT_EQ(RingOf(Next(client, "CIDINFO:")), "-2") << Story(phone);

    // 2. Missed: one ring burst, then the caller gives up.
    Sim("ring 300 300 1");
    EXPECT_EQ(RingOf(Next(client, "CIDINFO:")), "1") << Story(phone);
    EXPECT_EQ(RingOf(Next(client, "CIDINFO:")), "0") << Story(phone);
    EXPECT_EQ(RingOf(Next(client, "CIDINFO:")), "-1") << Story(phone);

    // 3. A message left on the answering machine.
    Sim("audio " + farEnd_.string());
    phone.Send("ars");
    ASSERT_TRUE(phone.WaitFor("button 1170: AbsenceOn")) << Story(phone);
    ASSERT_EQ(Sim("ring 1000 1000").rfind("OK", 0), 0u);
    Sim("cid 0212345678");
    ASSERT_TRUE(phone.WaitFor("status: 안내멘트를 재생중입니다.")) << Story(phone);
    ASSERT_TRUE(phone.WaitFor("picture 1174: 242")) << Story(phone);
    Sim("dtmf 1");
    ASSERT_TRUE(phone.WaitFor("status: 녹음중입니다.")) << Story(phone);
    std::this_thread::sleep_for(2500ms);
    Sim("hangup");
    ASSERT_TRUE(phone.WaitFor("messages: 1")) << Story(phone);
    const std::string mwi = Next(client, "MWI:");
    EXPECT_TRUE(std::regex_match(mwi, std::regex(R"(MWI: \*DATE\*\d{8}\*TIME\*\d{4}\*LINE\*desk-a)"
                                                 R"(\*NMBR\*1\*MESG\*SET\*NAME\*[A-Z ]+\*)")))
        << mwi;
    EXPECT_EQ(client.BareLineEnds(), 0);

    // A client that connects now finds the new callers in the log.
    NcidTestClient later(port_);
    const auto log = later.ReadUntil("300 ");
    ASSERT_TRUE(log);
    int kim = 0;
    for (const auto& line : *log) kim += line.find("*NMBR*0212345678*") != std::string::npos;
    EXPECT_EQ(kim, 2) << "the answered call and the message";
    EXPECT_EQ(phone.Terminate(), 0) << Story(phone);
}

TEST_F(HeadlessCallerId, MisbehavingClientsHoldUpNeitherThePhoneNorTheOthers) {
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    NcidTestClient good(port_);
    ASSERT_TRUE(good.ReadUntil("300 ")) << Story(phone);

    NcidTestClient garbage(port_);
    std::string bytes;
    for (int i = 0; i < 100000; ++i) bytes.push_back(static_cast<char>(i * 131 % 256));
    EXPECT_TRUE(garbage.Send(bytes));
    NcidTestClient longLine(port_);
    EXPECT_TRUE(longLine.Send(std::string(1 << 20, 'A')));
    // Never reads a byte, with the smallest buffer the kernel gives.
    NcidTestClient sleeper(port_, 1);
    std::vector<std::unique_ptr<NcidTestClient>> flood;
    for (int i = 0; i < 200; ++i) flood.push_back(std::make_unique<NcidTestClient>(port_));

    // Many calls while they are all there: the phone answers each, and the
    // good client gets each caller.
    for (int call = 0; call < 6; ++call) {
        SCOPED_TRACE(call);
        const std::string number = "02555000" + std::to_string(10 + call);
        ASSERT_EQ(Sim("ring 1000 1000").rfind("OK", 0), 0u);
        ASSERT_TRUE(phone.WaitFor("status: 전화가 왔습니다.")) << Story(phone);
        EXPECT_EQ(RingOf(Next(good, "CIDINFO:")), "1") << Story(phone);
        Sim("cid " + number);
        ASSERT_TRUE(phone.WaitFor("number: " + number)) << Story(phone);
        EXPECT_NE(Next(good, "CID:").find("*NMBR*" + number + "*"), std::string::npos);
        phone.Send("hook");
        ASSERT_TRUE(phone.WaitFor("status: 통화 상태입니다.")) << Story(phone);
        EXPECT_EQ(RingOf(Next(good, "CIDINFO:")), "0") << Story(phone);
        std::this_thread::sleep_for(1100ms);  // a call of a second or more is logged
        phone.Send("hook");
        ASSERT_TRUE(phone.WaitFor("button 1058: HookOn")) << Story(phone);
        EXPECT_EQ(RingOf(Next(good, "CIDINFO:")), "-2") << Story(phone);
    }
    EXPECT_EQ(CallRows(database_, 6).size(), 6u);
    // The server took more connections than it keeps, and said so once.
    const std::string log = vt::test::ReadText(env_.AppHome() / UserLog::kFileName);
    EXPECT_NE(log.find("연결이 32개를 넘습니다"), std::string::npos) << log;
    flood.clear();
    // Once the flood has gone (its closes take a moment to be seen), a new
    // client is served again.
    std::unique_ptr<NcidTestClient> after;
    std::optional<std::string> greeting;
    for (int i = 0; i < 50 && !greeting; ++i) {
        after = std::make_unique<NcidTestClient>(port_);
        greeting = after->ReadLine(2s);  // a refused one is closed at once
    }
    ASSERT_TRUE(greeting);
    EXPECT_EQ(greeting->rfind("200 ", 0), 0u);
    EXPECT_TRUE(after->ReadUntil("300 "));
    EXPECT_EQ(phone.Terminate(), 0) << Story(phone);
}

// A setting that cannot work is one line, and the phone runs on without the
// server; no setting is no server and no line.
TEST_F(HeadlessCallerId, ASettingThatCannotWorkIsOneLineAndThePhoneRunsOn) {
    // Holds the port, as another program would.
    const int holder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(holder, 1), 0);
    const std::string inUse = "127.0.0.1:" + std::to_string(port_);

    struct Case {
        std::string value;
        const char* lang;  // nullptr: Korean
        std::string line;  // empty: none
    };
    const Case cases[] = {
        {"pbx.example.org:3333", nullptr,
         "callerid: 발신자 표시 서버 설정이 잘못되었습니다: pbx.example.org:3333 (예: "
         "127.0.0.1:3333). 서버 없이 계속합니다."},
        {"127.0.0.1:99999", "en_US.UTF-8",
         "callerid: The caller ID server setting is not valid: 127.0.0.1:99999 (for example "
         "127.0.0.1:3333). Continuing without the server."},
        {inUse, nullptr, "callerid: 발신자 표시 서버를 " + inUse + "에서 열 수 없습니다: "},
        {"", nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        vt::IniStore ini(vt::SettingsFilePath());
        ASSERT_TRUE(ini.Load());
        ini.SetString(vt::kSettingsSection, "CallerIdServer", c.value);
        ASSERT_TRUE(ini.Save());
        env_.SetLocale(c.lang ? c.lang : "C.UTF-8");
        HeadlessProcess phone;
        ASSERT_TRUE(phone.WaitUntilServing());
        phone.Send("number 5");
        ASSERT_TRUE(phone.WaitFor("number: 5")) << Story(phone);
        const std::string transcript = phone.Transcript();
        if (c.line.empty()) {
            EXPECT_EQ(transcript.find("callerid:"), std::string::npos) << transcript;
        } else {
            EXPECT_NE(transcript.find(c.line), std::string::npos) << transcript;
            const auto first = transcript.find("callerid:");
            EXPECT_EQ(transcript.find("callerid:", first + 1), std::string::npos)
                << "one line: " << transcript;
        }
        EXPECT_EQ(phone.Terminate(), 0) << Story(phone);
    }
    ::close(holder);
}

}  // namespace
}  // namespace vantelo
