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
#include <sstream>
#include <thread>
#include <vector>

#include "HeadlessProcess.h"
#include "linesim/ScopedDaemon.h"
#include "platform/IniStore.h"
#include "platform/RequestClient.h"
#include "testsupport/ProbeProcess.h"
#include "testsupport/SmtpTestServer.h"
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

    std::string Story(HeadlessProcess& phone) { return vantelo::Story(phone, env_.AppHome()); }
    std::vector<CallRecord> Rows(std::size_t count, std::chrono::milliseconds timeout = 10s) {
        return CallRows(database_, count, timeout);
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

TEST_F(HeadlessEndToEnd, TheNewMessageCountIsALineAndSurvivesARestart) {
    PhoneSettings s;
    ASSERT_TRUE(LoadSettings(s));
    s.IntAbsenceSilence = 0;  // the caller's far-end file ends long before the message
    ASSERT_TRUE(SaveSettings(s));
    Sim("audio " + farEnd_.string());
    auto vtdb = [](const std::vector<std::string>& args) {
        auto run = vt::test::RunProbe(vt::test::BinaryFolder() / "vtdb", args, 10s);
        return WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1;
    };
    // A caller presses 1 after the greeting, speaks for 2.5 s and hangs up.
    auto leaveMessage = [&](HeadlessProcess& phone, const std::string& number) {
        ASSERT_EQ(Sim("ring 1000 1000").rfind("OK", 0), 0u);
        Sim("cid " + number);
        ASSERT_TRUE(phone.WaitFor("status: 안내멘트를 재생중입니다.")) << Story(phone);
        ASSERT_TRUE(phone.WaitFor("picture 1174: 242")) << Story(phone);
        Sim("dtmf 1");
        ASSERT_TRUE(phone.WaitFor("status: 녹음중입니다.")) << Story(phone);
        std::this_thread::sleep_for(2500ms);
        Sim("hangup");  // the count follows the logged call, before the idle look
    };

    auto phone = std::make_unique<HeadlessProcess>();
    ASSERT_TRUE(phone->WaitUntilServing());
    phone->Send("ars");
    ASSERT_TRUE(phone->WaitFor("button 1170: AbsenceOn")) << Story(*phone);
    leaveMessage(*phone, "0212345678");
    ASSERT_TRUE(phone->WaitFor("messages: 1")) << Story(*phone);
    std::this_thread::sleep_for(1100ms);  // the next recording's file gets its own second
    leaveMessage(*phone, "0311112222");
    ASSERT_TRUE(phone->WaitFor("messages: 2")) << Story(*phone);
    // Marked heard by another program: the phone sees it.
    ASSERT_EQ(vtdb({"messages", "--heard", "1"}), 0);
    ASSERT_TRUE(phone->WaitFor("messages: 1")) << Story(*phone);
    EXPECT_EQ(phone->Terminate(), 0) << Story(*phone);

    // Told again at the next start.
    phone = std::make_unique<HeadlessProcess>();
    ASSERT_TRUE(phone->WaitUntilServing());
    ASSERT_TRUE(phone->WaitFor("messages: 1")) << Story(*phone);
    ASSERT_EQ(vtdb({"messages", "--heard", "all"}), 0);
    ASSERT_TRUE(phone->WaitFor("messages: 0")) << Story(*phone);
    EXPECT_EQ(phone->Terminate(), 0) << Story(*phone);
    // A start without new messages says nothing of them.
    phone = std::make_unique<HeadlessProcess>();
    ASSERT_TRUE(phone->WaitUntilServing());
    phone->Send("number 5");
    ASSERT_TRUE(phone->WaitFor("number: 5")) << Story(*phone);
    EXPECT_EQ(phone->Transcript().find("messages:"), std::string::npos) << Story(*phone);
    EXPECT_EQ(phone->Terminate(), 0) << Story(*phone);
}

// The message goes by mail once the server is there: first refused (nobody
// listens yet), then delivered on a later try, with its recording decoded.
TEST_F(HeadlessEndToEnd, ANewMessageIsMailedWithItsRecordingOnceTheServerIsUp) {
    PhoneSettings s;
    ASSERT_TRUE(LoadSettings(s));
    s.IntAbsenceSilence = 0;
    s.ModeRecCompress = 0;  // a mu-law WAV goes as it is
    ASSERT_TRUE(SaveSettings(s));
    const int port = vt::test::FreeLoopbackPort();
    vt::IniStore ini(vt::SettingsFilePath());
    ASSERT_TRUE(ini.Load());
    ini.SetString("Mail", "Server", "smtp://127.0.0.1:" + std::to_string(port));
    ini.SetString("Mail", "From", "desk@example.org");
    ini.SetString("Mail", "To", "me@example.org");
    ini.SetString("Mail", "Attach", "wav");
    ASSERT_TRUE(ini.Save());
    Sim("audio " + farEnd_.string());

    HeadlessProcess phone;
    ASSERT_TRUE(phone.WaitUntilServing());
    phone.Send("ars");
    ASSERT_TRUE(phone.WaitFor("button 1170: AbsenceOn")) << Story(phone);
    ASSERT_EQ(Sim("ring 1000 1000").rfind("OK", 0), 0u);
    Sim("cid 0212345678");
    ASSERT_TRUE(phone.WaitFor("status: 안내멘트를 재생중입니다.")) << Story(phone);
    ASSERT_TRUE(phone.WaitFor("picture 1174: 242")) << Story(phone);
    Sim("dtmf 1");
    ASSERT_TRUE(phone.WaitFor("status: 녹음중입니다.")) << Story(phone);
    std::this_thread::sleep_for(3s);
    Sim("hangup");
    ASSERT_TRUE(phone.WaitFor("messages: 1")) << Story(phone);
    ASSERT_TRUE(
        phone.WaitForStart("mail: 127.0.0.1:" + std::to_string(port) + "에 연결할 수 없습니다"))
        << Story(phone);

    vt::test::SmtpServerOptions options;
    options.port = port;
    vt::test::SmtpTestServer server(env_.Root() / "smtp", options);
    ASSERT_TRUE(phone.WaitForStart("mail: 0212345678에서 ", 30s)) << Story(phone);
    const auto rows = Rows(1);
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(server.Messages().size(), 1u);
    const auto mail = vt::test::ReadReceivedMail(server.Messages()[0], env_.Root() / "parts");
    ASSERT_TRUE(mail);
    EXPECT_NE(mail->subject.find("홍길동"), std::string::npos) << mail->subject;
    EXPECT_NE(mail->subject.find("0212345678"), std::string::npos) << mail->subject;
    const fs::path recording = rows[0].CallRecDirectory + rows[0].CallRecFileName;
    ASSERT_TRUE(fs::is_regular_file(recording)) << recording;
    EXPECT_EQ(mail->attachmentBytes, fs::file_size(recording));
    EXPECT_EQ(vt::test::ReadText(mail->attachment), vt::test::ReadText(recording));
    for (const auto& entry : fs::directory_iterator(env_.AppHome() / "Outbox"))
        EXPECT_NE(entry.path().extension(), ".mail") << "the item leaves after acceptance";
    EXPECT_EQ(phone.Terminate(), 0) << Story(phone);
}

// The status lines of a call in the user's language: Korean (the system's
// own texts, exactly) unless the locale or the Language setting says English.
TEST_F(HeadlessEndToEnd, StatusTextsOfACallFollowTheLanguage) {
    struct Case {
        const char* lang;
        const char* setting;  // nullptr: no Language key
        const char* ringing;
        const char* inCall;
        const char* recording;
    };
    const Case korean{nullptr, nullptr, "status: 전화가 왔습니다.", "status: 통화 상태입니다.",
                      "status: 녹음중입니다."};
    const Case english{nullptr, nullptr, "status: Incoming call.", "status: In a call.",
                       "status: Recording."};
    auto with = [](Case c, const char* lang, const char* setting) {
        c.lang = lang;
        c.setting = setting;
        return c;
    };
    const Case cases[] = {
        with(korean, "ko_KR.UTF-8", nullptr), with(english, "en_US.UTF-8", nullptr),
        with(korean, "C.UTF-8", "auto"),      with(korean, "en_US.UTF-8", "ko"),
        with(english, "ko_KR.UTF-8", "en"),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lang) + " Language=" + (c.setting ? c.setting : "(none)"));
        env_.SetLocale(c.lang);
        vt::IniStore settings(vt::SettingsFilePath());
        ASSERT_TRUE(settings.Load());
        if (c.setting)
            settings.SetString(vt::kSettingsSection, "Language", c.setting);
        else
            settings.Remove(vt::kSettingsSection, "Language");
        ASSERT_TRUE(settings.Save());

        HeadlessProcess phone;
        ASSERT_TRUE(phone.WaitUntilServing());
        ASSERT_EQ(Sim("ring 1000 1000").rfind("OK", 0), 0u);
        ASSERT_TRUE(phone.WaitFor(c.ringing)) << Story(phone);
        phone.Send("hook");
        ASSERT_TRUE(phone.WaitFor(c.inCall)) << Story(phone);
        phone.Send("record");
        ASSERT_TRUE(phone.WaitFor(c.recording)) << Story(phone);
        phone.Send("hook");
        ASSERT_TRUE(phone.WaitFor("button 1058: HookOn")) << Story(phone);
        EXPECT_EQ(phone.Terminate(), 0) << Story(phone);

        // Not one status line of the other language.
        const bool wantEnglish = std::string(c.ringing) == english.ringing;
        std::istringstream transcript(phone.Transcript());
        for (std::string line; std::getline(transcript, line);) {
            if (line.rfind("status: ", 0) != 0 || line == "status: ")
                continue;
            const bool hangul = line.find_first_of("\xEA\xEB\xEC\xED") != std::string::npos;
            EXPECT_EQ(hangul, !wantEnglish) << line;
        }
    }
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
