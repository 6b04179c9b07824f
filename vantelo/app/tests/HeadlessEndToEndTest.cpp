// `vantelo --headless` end to end: the real program on the real line library,
// a simulated adapter (`linesim serve`) and a real database in a private
// application folder. Short settings and a fast audio stream keep it to
// seconds; every wait has a deadline.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "HeadlessProcess.h"
#include "linesim/ScopedDaemon.h"
#include "platform/IniStore.h"
#include "platform/RequestClient.h"
#include "testsupport/ProbeProcess.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"
#include "vantelo/core/AnsweringMachine.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/CallJournal.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using test::HeadlessProcess;

unsigned ModeOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

class HeadlessEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        PhoneSettings s;
        s.ModeRecAuto = kRecAutoOutgoing;
        s.ModeRecCompress = 3;
        s.ModeAbsence = kAbsenceCallerChooses;
        s.IntAbsenceRingTime = 1000;
        s.IntAbsenceTimeOut = 2000;
        s.IntAbsenceMaxMessage = 10;
        s.IntExtDelay = 0;
        ASSERT_TRUE(SaveSettings(s));
        ASSERT_TRUE(PrepareDatabase(clock_, database_).ok());
        CRSAddressList contacts;
        ASSERT_TRUE(contacts.Open(database_).ok());
        ContactRecord kim;
        *kim.Field("Name") = "홍길동";
        *kim.Field("HomePhone") = "0212345678";
        ASSERT_TRUE(contacts.AddContact(kim).ok());
        ASSERT_EQ(daemon_.Command("speed 20").rfind("OK", 0), 0u);
        farEnd_ = env_.Root() / "farend.wav";
        ASSERT_TRUE(vt::test::WritePcmWav(farEnd_, vt::test::SpeechLikeSamples(3000)));
    }

    std::string Sim(const std::string& command) { return daemon_.Command(command); }

    // The program's transcript and the line library's log, for a failure.
    std::string Story(HeadlessProcess& phone) {
        std::string story = phone.Transcript();
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(env_.AppHome() / "Log", ec))
            story += vt::test::ReadText(entry.path());
        return story;
    }

    // The rows of the call log, waiting up to `timeout` for `count` of them.
    std::vector<CallRecord> Rows(std::size_t count, std::chrono::milliseconds timeout = 10s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        std::vector<CallRecord> rows;
        do {
            rows.clear();
            CRSCallList set(database_);
            if (set.Open().ok())
                for (long i = 0; i < set.GetRecordCount(); ++i)
                    if (set.SetAbsolutePosition(i).ok())
                        if (auto row = set.CurrentCall(); row.ok())
                            rows.push_back(row.value());
            if (rows.size() >= count)
                break;
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < end);
        return rows;
    }

    vt::test::TestEnvironment env_;
    linesim::test::ScopedDaemon daemon_{0};
    vt::SystemClock clock_;
    fs::path database_ = env_.AppHome() / kDatabaseFileName;
    fs::path farEnd_;
};

TEST_F(HeadlessEndToEnd, CallsOfEveryKindEndInTheCallLog) {
    const auto started = std::chrono::steady_clock::now();
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());

    // 1. An incoming call with caller ID and a contact name, answered.
    ASSERT_EQ(Sim("ring 1000 1000").rfind("OK", 0), 0u);
    ASSERT_TRUE(phone.WaitFor("status: 전화가 왔습니다.")) << Story(phone);
    Sim("cid 0212345678");
    ASSERT_TRUE(phone.WaitFor("number: 홍길동\\n0212345678")) << Story(phone);
    phone.Send("hook");
    ASSERT_TRUE(phone.WaitFor("status: 통화 상태입니다.")) << Story(phone);
    std::this_thread::sleep_for(1100ms);
    phone.Send("hook");
    ASSERT_TRUE(phone.WaitFor("button 1058: HookOn")) << Story(phone);
    auto rows = Rows(1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].CallMode, kCallReceived);
    EXPECT_EQ(rows[0].CallNum, "0212345678");
    EXPECT_EQ(rows[0].CallName, "홍길동");
    EXPECT_GE(rows[0].CallTime, 1);

    // 2. A missed call: one ring burst, then the caller gives up.
    std::this_thread::sleep_for(300ms);
    Sim("ring 1000 1000 1");
    ASSERT_TRUE(phone.WaitFor("status: 전화가 왔습니다.")) << Story(phone);
    Sim("cid 0311112222");
    rows = Rows(2);
    ASSERT_EQ(rows.size(), 2u) << Story(phone);
    EXPECT_EQ(rows[1].CallMode, kCallMissed);
    EXPECT_EQ(rows[1].CallNum, "0311112222");
    EXPECT_EQ(rows[1].CallTime, 0);

    // 3. The answering machine: the caller presses 1 after the greeting
    //    starts and speaks; the message is recorded until the caller hangs up.
    phone.Send("ars");
    ASSERT_TRUE(phone.WaitFor("button 1170: AbsenceOn")) << Story(phone);
    Sim("audio " + farEnd_.string());
    Sim("ring 1000 1000");
    ASSERT_TRUE(phone.WaitFor("picture 1172: 231")) << Story(phone);
    ASSERT_TRUE(phone.WaitFor("status: 안내멘트를 재생중입니다.")) << Story(phone);
    // After the greeting the machine waits for a key; 1 plays prompt 1.
    ASSERT_TRUE(phone.WaitFor("picture 1174: 242")) << Story(phone);
    Sim("dtmf 1");
    ASSERT_TRUE(phone.WaitFor("status: 녹음중입니다.")) << Story(phone);
    std::this_thread::sleep_for(1500ms);
    Sim("hangup");
    ASSERT_TRUE(phone.WaitFor("picture 1172: 240")) << Story(phone);
    rows = Rows(3);
    ASSERT_EQ(rows.size(), 3u) << Story(phone);
    const CallRecord message = rows[2];
    EXPECT_EQ(message.CallMode, kCallAnswered);
    EXPECT_EQ(message.CallDtmf, "") << "the key that chose the message is not kept";
    ASSERT_TRUE(message.CallRec);
    const fs::path recording = message.CallRecDirectory + message.CallRecFileName;
    ASSERT_TRUE(fs::exists(recording)) << recording;
    EXPECT_EQ(recording.extension(), ".vrc");
    const fs::path decoded = env_.Root() / "message.wav";
    auto run = vt::test::RunProbe(vt::test::BinaryFolder() / "tyctl",
                                  {"decode", recording.string(), decoded.string()}, 30s);
    ASSERT_FALSE(run.hung);
    auto info = vt::test::ReadWavInfo(decoded);
    ASSERT_TRUE(info) << "the message decodes";
    EXPECT_GT(vt::test::DurationMs(*info), 500.0) << "the far end's speech is in it";
    phone.Send("ars");
    ASSERT_TRUE(phone.WaitFor("button 1170: AbsenceOff")) << Story(phone);

    // 4. An outgoing call dialled by the program on request, recorded
    //    automatically once the dialling is done.
    Sim("audio off");
    auto dial =
        vt::test::RunProbe(vt::test::BinaryFolder() / "vantelo", {"--dial", "0315550000"}, 10s);
    ASSERT_TRUE(WIFEXITED(dial.status) && WEXITSTATUS(dial.status) == 0);
    ASSERT_TRUE(phone.WaitFor("status: 통화 상태입니다.")) << Story(phone);
    ASSERT_TRUE(phone.WaitFor("status: 녹음중입니다.")) << Story(phone);
    Sim("answer");
    std::this_thread::sleep_for(500ms);
    auto hangUp = vt::test::RunProbe(vt::test::BinaryFolder() / "vantelo", {"--hangup"}, 10s);
    ASSERT_TRUE(WIFEXITED(hangUp.status) && WEXITSTATUS(hangUp.status) == 0);
    ASSERT_TRUE(phone.WaitFor("button 1058: HookOn")) << Story(phone);
    rows = Rows(4);
    ASSERT_EQ(rows.size(), 4u) << Story(phone);
    EXPECT_EQ(rows[3].CallMode, kCallOutgoing);
    EXPECT_EQ(rows[3].CallNum, "0315550000");
    EXPECT_TRUE(rows[3].CallRec);
    EXPECT_TRUE(fs::exists(rows[3].CallRecDirectory + rows[3].CallRecFileName));

    // The adapter goes away and comes back: the program picks it up again.
    Sim("unplug");
    ASSERT_TRUE(phone.WaitFor("status: Vantelo Removed!!")) << Story(phone);
    Sim("plug");
    ASSERT_TRUE(phone.WaitFor("status: 장치가 연결되었습니다.")) << Story(phone);

    // What it made is the user's alone.
    for (const fs::path& made : {fs::path(recording), env_.AppHome() / "logUserApp.txt",
                                 env_.AppHome() / kPromptFolderName / "m_ArsRe1.wav"})
        EXPECT_EQ(ModeOf(made), 0600u) << made;
    EXPECT_EQ(ModeOf(fs::path(message.CallRecDirectory)), 0700u);

    // A second start is refused and leaves the first one running.
    auto second = vt::test::RunProbe(vt::test::BinaryFolder() / "vantelo", {"--headless"}, 10s);
    ASSERT_TRUE(WIFEXITED(second.status));
    EXPECT_EQ(WEXITSTATUS(second.status), 1);
    phone.Send("number 123");
    EXPECT_TRUE(phone.WaitFor("number: 123")) << Story(phone);

    EXPECT_EQ(phone.Terminate(), 0) << Story(phone);
    std::printf("[ harness  ] four calls through vantelo --headless in %.1f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    vt::IniStore settings(vt::SettingsFilePath());
    ASSERT_TRUE(settings.Load());
    EXPECT_TRUE(settings.Has(vt::kSettingsSection, kMaxMessageKey)) << "saved at exit";
    EXPECT_EQ(ModeOf(vt::SettingsFilePath()), 0600u);
}

TEST_F(HeadlessEndToEnd, ACallCutByThePulledCableOrAKilledProgramIsNeverLost) {
    PhoneSettings s;
    ASSERT_TRUE(LoadSettings(s));
    s.ModeRecAuto = kRecAutoReceived | kRecAutoOutgoing;
    ASSERT_TRUE(SaveSettings(s));
    Sim("audio " + farEnd_.string());
    auto answerCall = [&](HeadlessProcess& phone) {
        ASSERT_EQ(Sim("ring 1000 1000").rfind("OK", 0), 0u);
        ASSERT_TRUE(phone.WaitFor("popup: Vantelo\\n Ring")) << Story(phone);
        Sim("cid 0212345678");
        ASSERT_TRUE(phone.WaitFor("number: 홍길동\\n0212345678")) << Story(phone);
        phone.Send("hook");
        ASSERT_TRUE(phone.WaitFor("status: 녹음중입니다.")) << Story(phone);
    };
    auto recordingOf = [](const CallRecord& row) {
        return fs::path(row.CallRecDirectory + row.CallRecFileName);
    };

    // 1. The cable is pulled during a recorded call.
    auto phone = std::make_unique<HeadlessProcess>();
    ASSERT_TRUE(phone->WaitUntilServing());
    answerCall(*phone);
    std::this_thread::sleep_for(1200ms);
    Sim("unplug");
    ASSERT_TRUE(phone->WaitFor("picture 1171: 241")) << Story(*phone);
    ASSERT_TRUE(phone->WaitFor("status: Vantelo Removed!!")) << Story(*phone);
    auto rows = Rows(1);
    ASSERT_EQ(rows.size(), 1u) << Story(*phone);
    EXPECT_EQ(rows[0].CallMode, kCallReceived);
    EXPECT_EQ(rows[0].CallName, "홍길동");
    EXPECT_GE(rows[0].CallTime, 1);
    ASSERT_TRUE(rows[0].CallRec);
    EXPECT_GT(fs::file_size(recordingOf(rows[0])), 0u);
    Sim("plug");
    ASSERT_TRUE(phone->WaitFor("status: 장치가 연결되었습니다.")) << Story(*phone);
    // The next call, missed, carries nothing of the cut one.
    Sim("ring 1000 1000 1");
    ASSERT_TRUE(phone->WaitFor("status: 전화가 왔습니다.")) << Story(*phone);
    rows = Rows(2);
    ASSERT_EQ(rows.size(), 2u) << Story(*phone);
    EXPECT_EQ(rows[1].CallMode, kCallMissed);
    EXPECT_FALSE(rows[1].CallRec);
    ASSERT_TRUE(phone->WaitFor("popup: closed")) << Story(*phone);

    // 2. The program is killed during a recorded call; the adapter holds
    //    the line and streams on.
    std::this_thread::sleep_for(300ms);
    answerCall(*phone);
    std::this_thread::sleep_for(1500ms);
    phone->Kill();
    EXPECT_NE(Sim("status").find("recording=yes"), std::string::npos);
    phone = std::make_unique<HeadlessProcess>();
    ASSERT_TRUE(phone->WaitUntilServing());
    // The held line is the call it was: caller, name, recording.
    ASSERT_TRUE(phone->WaitFor("number: 홍길동\\n0212345678")) << Story(*phone);
    ASSERT_TRUE(phone->WaitFor("status: 녹음중입니다.")) << Story(*phone);
    std::this_thread::sleep_for(1000ms);
    phone->Send("hook");
    ASSERT_TRUE(phone->WaitFor("button 1058: HookOn")) << Story(*phone);
    EXPECT_NE(Sim("status").find("recording=no"), std::string::npos);
    rows = Rows(3);
    ASSERT_EQ(rows.size(), 3u) << Story(*phone);
    EXPECT_EQ(rows[2].CallMode, kCallReceived);
    EXPECT_EQ(rows[2].CallNum, "0212345678");
    EXPECT_EQ(rows[2].CallName, "홍길동");
    EXPECT_GE(rows[2].CallTime, 2) << "from the call's own start";
    ASSERT_TRUE(rows[2].CallRec);
    const fs::path decoded = env_.Root() / "joined.wav";
    auto run = vt::test::RunProbe(vt::test::BinaryFolder() / "tyctl",
                                  {"decode", recordingOf(rows[2]).string(), decoded.string()}, 30s);
    ASSERT_FALSE(run.hung);
    auto info = vt::test::ReadWavInfo(decoded);
    ASSERT_TRUE(info) << "both parts decode as one recording";
    EXPECT_GT(vt::test::DurationMs(*info), 2000.0);
    // Every recording of the day belongs to a call.
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(recordingOf(rows[2]).parent_path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2u);
    EXPECT_FALSE(fs::exists(env_.AppHome() / CallJournal::kFileName));
    EXPECT_EQ(phone->Terminate(), 0) << Story(*phone);
}

TEST_F(HeadlessEndToEnd, EndOfInputDoesNotEndTheProgramButTheCloseRequestDoes) {
    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    phone.CloseInput();
    std::this_thread::sleep_for(300ms);
    auto hangUp = vt::test::RunProbe(vt::test::BinaryFolder() / "vantelo", {"--hangup"}, 10s);
    EXPECT_EQ(WEXITSTATUS(hangUp.status), 0) << "it still serves requests";
    auto dialTooLong = vt::test::RunProbe(vt::test::BinaryFolder() / "vantelo",
                                          {"--dial", std::string(60, '1')}, 10s);
    EXPECT_EQ(WEXITSTATUS(dialTooLong.status), 1);
    auto tooLong = vt::RequestClient::Send(vt::kRequestDial, std::string(55, '1'));
    EXPECT_EQ(tooLong.outcome, vt::RequestClient::Outcome::Refused);
    EXPECT_EQ(tooLong.text, "number too long");
    auto close = vt::RequestClient::Send(vt::kRequestClose, "");
    EXPECT_EQ(close.outcome, vt::RequestClient::Outcome::Ok);
    EXPECT_EQ(phone.WaitForExit(), 0) << "the close request ends it";
    EXPECT_FALSE(fs::exists(vt::RequestSocketPath()));
}

}  // namespace
}  // namespace vantelo
