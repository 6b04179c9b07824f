// New messages by e-mail from end to end: settings file, outbox, delivery
// thread and a real mail server on loopback.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <mutex>

#include "VrcFixture.h"
#include "notify/MailService.h"
#include "notify/MailText.h"
#include "platform/IniStore.h"
#include "testsupport/Eventually.h"
#include "testsupport/SmtpTestServer.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"

namespace {

namespace fs = std::filesystem;
using notify::MailFailure;
using std::chrono::milliseconds;

// Status lines as the delivery thread reports them.
class StatusLog {
public:
    void Add(const notify::MailStatus& s) {
        std::lock_guard<std::mutex> lock(mutex_);
        all_.push_back(s);
    }
    std::size_t Count(MailFailure f) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::count_if(all_.begin(), all_.end(),
                             [&](const auto& s) { return s.failure == f; });
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        all_.clear();
    }
    std::string Line(MailFailure f) const {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& s : all_)
            if (s.failure == f)
                return s.line;
        return {};
    }

private:
    mutable std::mutex mutex_;
    std::vector<notify::MailStatus> all_;
};

class MailServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Set("DBUS_SESSION_BUS_ADDRESS", "");
        samples_ = vt::test::SpeechLikeSamples(3000);
        ASSERT_TRUE(vt::test::WriteMuLawWav(Recording("mulaw.wav"), samples_));
        ASSERT_TRUE(vt::test::WritePcmWav(Recording("pcm.wav"), samples_));
        ASSERT_TRUE(vanplay::test::WriteVrc(Recording("speech.vrc"), samples_));
    }

    fs::path Recording(const std::string& name) { return env_.Root() / name; }

    void WriteSettings(const std::string& server, const std::string& attach = "mp3",
                       const std::string& to = "me@example.org",
                       std::vector<std::pair<std::string, std::string>> more = {}) {
        vt::IniStore store(vt::SettingsFilePath());
        store.Load();
        store.SetString("Mail", "Server", server);
        store.SetString("Mail", "From", "desk@example.org");
        store.SetString("Mail", "To", to);
        store.SetString("Mail", "Attach", attach);
        for (const auto& [k, v] : more) store.SetString("Mail", k, v);
        ASSERT_TRUE(store.Save());
    }

    std::unique_ptr<notify::MailService> Service() {
        notify::MailServiceOptions options;
        options.timing.firstRetry = milliseconds(50);
        options.timing.maxRetry = milliseconds(200);
        options.timing.rescan = milliseconds(200);
        options.timing.limits.connect = std::chrono::seconds(5);
        options.timing.limits.total = std::chrono::seconds(30);
        return std::make_unique<notify::MailService>(
            [this](const notify::MailStatus& s) { log_.Add(s); }, options);
    }

    notify::MessageMail Message(const std::string& recording, long long id = 1) {
        return {id,       "0212345678",
                "홍길동", "2026-12-09 10:00:0" + std::to_string(id % 10),
                3,        recording.empty() ? std::string() : Recording(recording).string()};
    }

    std::vector<notify::OutboxItem> Waiting() {
        return notify::Outbox(env_.AppHome() / "Outbox").Items();
    }

    vt::test::TestEnvironment env_;
    std::vector<std::int16_t> samples_;
    StatusLog log_;
};

TEST_F(MailServiceTest, AMessageArrivesWithItsRecordingAttachedAndLeavesTheOutbox) {
    struct Case {
        std::string recording;
        std::string attach;
        std::string type;  // of the received attachment; empty: none
    };
    const Case cases[] = {
        {"mulaw.wav", "mp3", "audio/mpeg"}, {"speech.vrc", "mp3", "audio/mpeg"},
        {"pcm.wav", "wav", "audio/wav"},    {"speech.vrc", "wav", "audio/wav"},
        {"mulaw.wav", "none", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recording + " as " + c.attach);
        const fs::path inbox = env_.Root() / ("inbox-" + std::to_string(&c - cases));
        vt::test::SmtpTestServer server(inbox);
        log_.Clear();
        WriteSettings(server.Url(), c.attach, "me@example.org, you@example.org");
        auto service = Service();
        ASSERT_TRUE(service->Start());
        const auto message = Message(c.recording);
        ASSERT_TRUE(service->Enqueue(message));
        ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(MailFailure::None) == 1; }));
        service->Stop();

        EXPECT_TRUE(Waiting().empty());
        const auto saved = server.Messages();
        ASSERT_EQ(saved.size(), 1u);
        const std::string raw = vt::test::ReadText(saved[0]);
        EXPECT_NE(raw.find("Subject: =?UTF-8?B?"), std::string::npos);
        const auto mail = vt::test::ReadReceivedMail(saved[0], inbox / "parts");
        ASSERT_TRUE(mail);
        EXPECT_EQ(mail->subject, notify::MessageSubject(message));
        EXPECT_EQ(mail->from, "desk@example.org");
        EXPECT_EQ(mail->to, "me@example.org, you@example.org");
        EXPECT_NE(mail->body.find("길이: 3초"), std::string::npos) << mail->body;
        EXPECT_NE(mail->body.find("번호: 0212345678"), std::string::npos);
        EXPECT_EQ(mail->attachmentType, c.type);
        if (c.type.empty()) {
            EXPECT_TRUE(mail->attachment.empty());
            continue;
        }
        ASSERT_EQ(fs::file_size(mail->attachment), mail->attachmentBytes);
        if (c.recording == "pcm.wav") {
            EXPECT_EQ(vt::test::ReadBytes(mail->attachment),
                      vt::test::ReadBytes(Recording("pcm.wav")));
        }
        const auto sound = c.attach == "mp3"
                               ? vt::test::DecodeMp3WithLame(mail->attachment, inbox / "heard.wav")
                               : vt::test::ReadWavInfo(mail->attachment);
        ASSERT_TRUE(sound);
        EXPECT_NEAR(vt::test::DurationMs(*sound), 3000.0, c.attach == "mp3" ? 100 : 0);
    }
}

TEST_F(MailServiceTest, AServerThatIsDownAtFirstGetsTheMessageOnceWhenItComesUp) {
    const int port = vt::test::FreeLoopbackPort();
    WriteSettings("smtp://127.0.0.1:" + std::to_string(port));
    auto service = Service();
    ASSERT_TRUE(service->Start());
    ASSERT_TRUE(service->Enqueue(Message("mulaw.wav")));
    ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(MailFailure::Connection) > 0; }));
    EXPECT_NE(log_.Line(MailFailure::Connection)
                  .find("127.0.0.1:" + std::to_string(port) + "에 연결할 수 없습니다"),
              std::string::npos);
    EXPECT_EQ(Waiting().size(), 1u);

    vt::test::SmtpTestServer server(env_.Root() / "inbox", {.port = port});
    ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(MailFailure::None) == 1; }));
    service->Stop();
    // Told once however many tries failed; sent once.
    EXPECT_EQ(log_.Count(MailFailure::Connection), 1u);
    EXPECT_EQ(server.Messages().size(), 1u);
    EXPECT_TRUE(Waiting().empty());
}

TEST_F(MailServiceTest, RefusedMailStaysInTheOutboxWithALineSayingWhy) {
    struct Case {
        vt::test::SmtpServerOptions server;
        MailFailure failure;
        std::string inLine;
    };
    const Case cases[] = {
        {{.reject = {"me@example.org"}},
         MailFailure::Recipient,
         "받는 사람 me@example.org을(를) 거부했습니다"},
        {{.closeOnData = true}, MailFailure::Closed, "메시지를 받기 전에 연결을 끝냈습니다"},
    };
    for (const auto& c : cases) {
        const fs::path inbox = env_.Root() / ("inbox-" + std::to_string(&c - cases));
        fs::remove_all(env_.AppHome() / "Outbox");
        log_.Clear();
        vt::test::SmtpTestServer server(inbox, c.server);
        WriteSettings(server.Url());
        auto service = Service();
        ASSERT_TRUE(service->Start());
        ASSERT_TRUE(service->Enqueue(Message("mulaw.wav")));
        ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(c.failure) > 0; }));
        service->Stop();
        EXPECT_NE(log_.Line(c.failure).find(c.inLine), std::string::npos) << log_.Line(c.failure);
        EXPECT_EQ(Waiting().size(), 1u);
        EXPECT_TRUE(server.Messages().empty());
        EXPECT_EQ(log_.Count(MailFailure::None), 0u);
    }
}

TEST_F(MailServiceTest, MessagesWaitingAtARestartAreDeliveredOldestFirst) {
    const int port = vt::test::FreeLoopbackPort();
    WriteSettings("smtp://127.0.0.1:" + std::to_string(port));
    {
        auto service = Service();
        ASSERT_TRUE(service->Start());
        for (long long id = 1; id <= 3; ++id)
            ASSERT_TRUE(service->Enqueue(Message("mulaw.wav", id)));
    }
    ASSERT_EQ(Waiting().size(), 3u);

    vt::test::SmtpTestServer server(env_.Root() / "inbox", {.port = port});
    auto service = Service();
    ASSERT_TRUE(service->Start());
    ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(MailFailure::None) == 3; }));
    service->Stop();
    EXPECT_TRUE(Waiting().empty());
    const auto saved = server.Messages();
    ASSERT_EQ(saved.size(), 3u);
    for (long long id = 1; id <= 3; ++id) {
        const auto mail = vt::test::ReadReceivedMail(saved[id - 1], env_.Root() / "parts");
        ASSERT_TRUE(mail);
        EXPECT_EQ(mail->subject, notify::MessageSubject(Message("mulaw.wav", id)));
    }
}

TEST_F(MailServiceTest, AnItemWhoseAttachmentWasRemovedIsSentWithout) {
    const int port = vt::test::FreeLoopbackPort();
    WriteSettings("smtp://127.0.0.1:" + std::to_string(port));
    {
        auto service = Service();
        ASSERT_TRUE(service->Start());
        ASSERT_TRUE(service->Enqueue(Message("mulaw.wav")));
    }
    const auto items = Waiting();
    ASSERT_EQ(items.size(), 1u);
    ASSERT_TRUE(fs::remove(items[0].attachment));
    vt::test::SmtpTestServer server(env_.Root() / "inbox", {.port = port});
    auto service = Service();
    ASSERT_TRUE(service->Start());
    ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(MailFailure::None) == 1; }));
    service->Stop();
    ASSERT_EQ(server.Messages().size(), 1u);
    const auto mail = vt::test::ReadReceivedMail(server.Messages()[0], env_.Root() / "parts");
    ASSERT_TRUE(mail);
    EXPECT_TRUE(mail->attachmentName.empty());
    EXPECT_NE(mail->body.find("길이: 3초"), std::string::npos);
    EXPECT_TRUE(Waiting().empty());
}

TEST_F(MailServiceTest, TwoProgramsOnOneOutboxSendEachMessageOnce) {
    vt::test::SmtpTestServer server(env_.Root() / "inbox");
    WriteSettings(server.Url());
    auto first = Service();
    ASSERT_TRUE(first->Start());
    ASSERT_TRUE(first->Enqueue(Message("mulaw.wav", 1)));
    ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(MailFailure::None) == 1; }));
    auto second = Service();
    ASSERT_TRUE(second->Start());
    ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(MailFailure::Outbox) == 1; }));
    EXPECT_NE(log_.Line(MailFailure::Outbox).find("다른 Vantelo 프로그램이 보낼 편지함"),
              std::string::npos);
    for (long long id = 2; id <= 5; ++id)
        ASSERT_TRUE((id % 2 ? first : second)->Enqueue(Message("mulaw.wav", id)));
    ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(MailFailure::None) == 5; }));
    first->Stop();
    second->Stop();
    EXPECT_EQ(server.Messages().size(), 5u);
    EXPECT_EQ(log_.Count(MailFailure::None), 5u);
    EXPECT_TRUE(Waiting().empty());
}

TEST_F(MailServiceTest, SettingsThatCannotWorkAreToldOnceAndNothingIsLost) {
    const fs::path open = env_.Root() / "open-password";
    std::ofstream(open) << "pw\n";
    ::chmod(open.c_str(), 0644);
    struct Case {
        std::vector<std::pair<std::string, std::string>> more;
        std::string server;
        MailFailure failure;
        std::string inLine;
        bool keeps;  // delivery runs, or at least messages are kept in the outbox
    };
    const Case cases[] = {
        {{{"User", "desk"}, {"PasswordFile", open.string()}},
         "smtp://127.0.0.1:25",
         MailFailure::Password,
         "chmod 600 " + open.string() + "을(를) 실행하십시오",
         true},
        {{{"User", "desk"}},
         "smtp://127.0.0.1:25",
         MailFailure::Password,
         "desk의 비밀번호가 없습니다",
         true},
        {{}, "ftp://127.0.0.1", MailFailure::Settings, "Server 'ftp://127.0.0.1'", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inLine);
        fs::remove(vt::SettingsFilePath());
        fs::remove_all(env_.AppHome() / "Outbox");
        log_.Clear();
        WriteSettings(c.server, "mp3", "me@example.org", c.more);
        auto service = Service();
        EXPECT_EQ(service->Start(), c.keeps);
        ASSERT_TRUE(vt::test::Eventually([&] { return log_.Count(c.failure) > 0; }));
        EXPECT_NE(log_.Line(c.failure).find(c.inLine), std::string::npos) << log_.Line(c.failure);
        EXPECT_EQ(service->Enqueue(Message("mulaw.wav")), c.keeps);
        EXPECT_EQ(Waiting().size(), c.keeps ? 1u : 0u);
        service->Stop();
        EXPECT_EQ(log_.Count(c.failure), 1u);
    }
    // No Server: mail is off, without a word.
    fs::remove(vt::SettingsFilePath());
    auto service = Service();
    EXPECT_FALSE(service->Start());
    EXPECT_FALSE(service->Enabled());
    EXPECT_FALSE(service->Enqueue(Message("mulaw.wav")));
}

}  // namespace
