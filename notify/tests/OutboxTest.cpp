// The outbox on disk: whole items with their prepared attachments, oldest
// first, private, and nothing half-written when the disk refuses.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <csignal>
#include <fstream>

#include "VrcFixture.h"
#include "notify/Outbox.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/WavFixture.h"

namespace {

namespace fs = std::filesystem;
using notify::AttachKind;

mode_t ModeOf(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class OutboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = env_.AppHome() / "Outbox";
        samples_ = vt::test::SpeechLikeSamples(2000);
        ASSERT_TRUE(vt::test::WritePcmWav(Source("pcm.wav"), samples_));
        ASSERT_TRUE(vt::test::WriteMuLawWav(Source("mulaw.wav"), samples_));
        ASSERT_TRUE(vanplay::test::WriteVrc(Source("speech.vrc"), samples_));
    }
    fs::path Source(const std::string& name) { return env_.Root() / name; }
    notify::MessageMail Message(const std::string& recording, long long id = 1) {
        return {id,       "0212345678",
                "홍길동", "2026-12-09 10:00:0" + std::to_string(id % 10),
                2,        recording.empty() ? "" : Source(recording).string()};
    }

    vt::test::TestEnvironment env_;
    fs::path folder_;
    std::vector<std::int16_t> samples_;
};

TEST_F(OutboxTest, ItemsHoldTheMessageAndItsPreparedPrivateAttachment) {
    struct Case {
        std::string recording;
        AttachKind attach;
        std::string extension;  // of the attachment; empty for none
        bool sameBytes;         // a WAV copy of a WAV recording
    };
    const Case cases[] = {
        {"pcm.wav", AttachKind::Wav, ".wav", true},
        {"mulaw.wav", AttachKind::Wav, ".wav", true},
        {"speech.vrc", AttachKind::Wav, ".wav", false},
        {"pcm.wav", AttachKind::Mp3, ".mp3", false},
        {"mulaw.wav", AttachKind::Mp3, ".mp3", false},
        {"speech.vrc", AttachKind::Mp3, ".mp3", false},
        {"pcm.wav", AttachKind::None, "", false},
        {"", AttachKind::Mp3, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recording + " as " + notify::AttachKindName(c.attach));
        fs::remove_all(folder_);
        notify::Outbox outbox(folder_);
        std::string error, id;
        ASSERT_TRUE(outbox.Open(&error)) << error;
        ASSERT_TRUE(outbox.Add(Message(c.recording), c.attach, &error, &id)) << error;
        EXPECT_EQ(ModeOf(folder_), 0700u);

        const auto items = outbox.Items();
        ASSERT_EQ(items.size(), 1u);
        const auto& item = items[0];
        EXPECT_EQ(item.id, id);
        EXPECT_EQ(item.message.name, "홍길동");
        EXPECT_EQ(item.message.number, "0212345678");
        EXPECT_EQ(item.message.seconds, 2);
        EXPECT_EQ(ModeOf(folder_ / (id + ".mail")), 0600u);
        if (c.extension.empty()) {
            EXPECT_TRUE(item.attachment.empty());
            EXPECT_EQ(item.attach, AttachKind::None);
            EXPECT_EQ(Names(folder_), std::vector<std::string>{id + ".mail"});
            continue;
        }
        EXPECT_EQ(item.attachment, folder_ / (id + c.extension));
        EXPECT_EQ(ModeOf(item.attachment), 0600u);
        EXPECT_EQ(Names(folder_), (std::vector<std::string>{id + ".mail", id + c.extension}));
        if (c.sameBytes) {
            EXPECT_EQ(vt::test::ReadBytes(item.attachment),
                      vt::test::ReadBytes(Source(c.recording)));
        }
        std::optional<vt::test::WavInfo> sound;
        if (c.attach == AttachKind::Mp3)
            sound = vt::test::DecodeMp3WithLame(item.attachment, env_.Root() / "decoded.wav");
        else
            sound = vt::test::ReadWavInfo(item.attachment);
        ASSERT_TRUE(sound);
        // The encoder's padding aside, the sound is the recording's 2 s.
        EXPECT_NEAR(vt::test::DurationMs(*sound), 2000.0, c.attach == AttachKind::Mp3 ? 100 : 0);
    }
}

TEST_F(OutboxTest, ItemsComeOldestFirstAndRemovingOneTakesItsAttachment) {
    notify::Outbox outbox(folder_);
    ASSERT_TRUE(outbox.Open(nullptr));
    for (long long id = 1; id <= 3; ++id)
        ASSERT_TRUE(outbox.Add(Message("pcm.wav", id), AttachKind::Wav, nullptr));
    auto items = outbox.Items();
    ASSERT_EQ(items.size(), 3u);
    for (long long i = 0; i < 3; ++i) EXPECT_EQ(items[i].message.callId, i + 1);
    EXPECT_EQ(outbox.Oldest()->message.callId, 1);

    std::string error;
    ASSERT_TRUE(outbox.Remove(items[1], &error)) << error;
    EXPECT_FALSE(fs::exists(items[1].attachment));
    items = outbox.Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].message.callId, 1);
    EXPECT_EQ(items[1].message.callId, 3);
}

TEST_F(OutboxTest, OpeningRemovesPiecesOfUnfinishedAdditionsAndKeepsWholeItems) {
    notify::Outbox outbox(folder_);
    std::string id;
    ASSERT_TRUE(outbox.Open(nullptr));
    ASSERT_TRUE(outbox.Add(Message("pcm.wav"), AttachKind::Mp3, nullptr, &id));
    for (const char* piece :
         {"00000000000000001-1-0.mp3", "00000000000000001-1-0.mail.tmp-77",
          "00000000000000002-1-1.wav.part", "00000000000000002-1-1.wav.decoded.part"})
        std::ofstream(folder_ / piece) << "half";
    ASSERT_TRUE(notify::Outbox(folder_).Open(nullptr));
    EXPECT_EQ(Names(folder_), (std::vector<std::string>{id + ".mail", id + ".mp3"}));
    EXPECT_EQ(outbox.Items().size(), 1u);
}

TEST_F(OutboxTest, BadRecordingsAndAFullDiskGetOneLineAndLeaveNothing) {
    std::ofstream(Source("text.wav")) << "not a recording";
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
    struct Case {
        std::string recording;
        AttachKind attach;
        rlim_t fileLimit;  // bytes a file may grow to; 0: no limit
        std::string error;
    };
    const Case cases[] = {
        {"missing.wav", AttachKind::Mp3, 0,
         "녹음 " + Source("missing.wav").string() + "이(가) 없습니다"},
        {"text.wav", AttachKind::Mp3, 0,
         "MP3를 만들 수 없습니다: 8비트 또는 16비트 PCM이나 mu-law 소리의 WAV 파일이 아닙니다"},
        // A disk that fills up: the attachment, the MP3, the item itself.
        {"pcm.wav", AttachKind::Wav, 16384, "첨부 파일을 쓸 수 없습니다: File too large"},
        {"pcm.wav", AttachKind::Mp3, 1024, "MP3를 만들 수 없습니다: MP3 파일을 쓰지 못했습니다"},
        {"speech.vrc", AttachKind::Wav, 16384, "변환한 WAV를 쓸 수 없습니다"},
        {"pcm.wav", AttachKind::None, 16, "항목을 쓸 수 없습니다"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recording + " as " + notify::AttachKindName(c.attach));
        notify::Outbox outbox(folder_);
        ASSERT_TRUE(outbox.Open(nullptr));
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        if (c.fileLimit) {
            rlimit limited = saved;
            limited.rlim_cur = c.fileLimit;
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        }
        std::string error;
        const bool added = outbox.Add(Message(c.recording), c.attach, &error);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_FALSE(added);
        EXPECT_NE(error.find("을(를) 보낼 편지함 " + folder_.string() + "에 넣을 수 없습니다: "),
                  std::string::npos)
            << error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
        EXPECT_TRUE(Names(folder_).empty()) << Names(folder_).front();
        EXPECT_TRUE(outbox.Items().empty());
    }
    ::signal(SIGXFSZ, SIG_DFL);
}

}  // namespace
