#include <gtest/gtest.h>

#include <fstream>

#include "VrcFixture.h"
#include "testsupport/WavFixture.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/TestEnvironment.h"
#include "vanplay/DecodeRun.h"
#include "vanplay/PlayerIds.h"

using namespace vanplay;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class DecodeRunTest : public ::testing::Test {
protected:
    fs::path Path(const char* name) const { return env_.Root() / name; }

    void WriteBytes(const char* name, std::vector<std::uint8_t> bytes) {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    int Convert(const char* source, const char* destination) {
        return DecodeRun::Convert({Path(source).string(), Path(destination).string(), 1024, 100},
                                  {}, nullptr);
    }

    vt::test::TestEnvironment env_;
};

TEST_F(DecodeRunTest, OneElevenByteRecordGivesOneFrame) {
    std::vector<std::uint8_t> record(11, 0x5A);
    record[0] = 0x15;
    WriteBytes("one.vrc", record);
    ASSERT_EQ(Convert("one.vrc", "one.wav"), kDecodeOk);
    EXPECT_EQ(fs::file_size(Path("one.wav")), 364u);
    auto info = vt::test::ReadWavInfo(Path("one.wav"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->format, 1u);
    EXPECT_EQ(info->sampleRate, 8000u);
    EXPECT_EQ(info->bitsPerSample, 16u);
    EXPECT_EQ(info->dataBytes, 320u);
    EXPECT_EQ(info->riffLength, 356u);
}

TEST_F(DecodeRunTest, SilenceRunsStandForTheirFrames) {
    WriteBytes("run5.vrc", {0xE0, 0x04});
    ASSERT_EQ(Convert("run5.vrc", "run5.wav"), kDecodeOk);
    EXPECT_EQ(vt::test::ReadWavInfo(Path("run5.wav"))->dataBytes, 5u * 320);
    WriteBytes("run24.vrc", {0xE2, 0x03});
    ASSERT_EQ(Convert("run24.vrc", "run24.wav"), kDecodeOk);
    EXPECT_EQ(vt::test::ReadWavInfo(Path("run24.wav"))->dataBytes, 24u * 320);
}

TEST_F(DecodeRunTest, CutShortLastRecordIsLeftOut) {
    std::vector<std::uint8_t> bytes{0xE0, 0x01};  // two silent frames
    bytes.push_back(0x80);                        // a 24-byte record cut after 3 bytes
    bytes.push_back(0x01);
    bytes.push_back(0x02);
    WriteBytes("cut.vrc", bytes);
    ASSERT_EQ(Convert("cut.vrc", "cut.wav"), kDecodeOk);
    EXPECT_EQ(vt::test::ReadWavInfo(Path("cut.wav"))->dataBytes, 2u * 320);
}

TEST_F(DecodeRunTest, EmptyRecordingGivesAnEmptyWav) {
    WriteBytes("empty.vrc", {});
    ASSERT_EQ(Convert("empty.vrc", "empty.wav"), kDecodeOk);
    EXPECT_EQ(fs::file_size(Path("empty.wav")), 44u);
}

TEST_F(DecodeRunTest, SpeechKeepsItsLength) {
    ASSERT_TRUE(test::WriteVrc(Path("speech.vrc"), vt::test::SpeechLikeSamples(1000)));
    ASSERT_EQ(Convert("speech.vrc", "speech.wav"), kDecodeOk);
    EXPECT_EQ(vt::test::ReadWavInfo(Path("speech.wav"))->dataBytes, 16000u);
}

TEST_F(DecodeRunTest, FailuresAreNamed) {
    EXPECT_EQ(Convert("missing.vrc", "x.wav"), kDecodeCannotRead);
    fs::create_directory(Path("folder.vrc"));
    EXPECT_EQ(Convert("folder.vrc", "x.wav"), kDecodeCannotRead);
    WriteBytes("ok.vrc", {0xE0, 0x00});
    EXPECT_EQ(DecodeRun::Convert(
                  {Path("ok.vrc").string(), (Path("no folder") / "x.wav").string(), 1024, 100}, {},
                  nullptr),
              kDecodeCannotCreate);
    EXPECT_STRNE(DecodeResultLabel(kDecodeCannotRead), "");
    EXPECT_STRNE(DecodeResultReason(kDecodeNoCodec), DecodeResultReason(kDecodeCannotRead));
}

TEST_F(DecodeRunTest, ThreadPostsProgressWhenItChangesThenDone) {
    ASSERT_TRUE(test::WriteVrc(Path("speech.vrc"), vt::test::SpeechLikeSamples(2000)));
    vt::QueueMessageWindow window;
    DecodeRun run({Path("speech.vrc").string(), Path("speech.wav").string(), 1024, 100}, &window,
                  7);
    ASSERT_TRUE(run.Start());
    auto done = window.WaitFor(WM_TY_CODECDONE, 5s);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->wParam, 7u) << "the run's serial";
    EXPECT_EQ(done->lParam, 0);
    run.Join();
    EXPECT_TRUE(run.Finished());
    EXPECT_EQ(run.Result(), kDecodeOk);
    std::vector<vt::LPARAM> values;
    for (const auto& m : window.Drain()) {
        ASSERT_EQ(m.message, WM_TY_CODECPROGRESS);
        EXPECT_EQ(m.wParam, 7u);
        values.push_back(m.lParam);
    }
    ASSERT_FALSE(values.empty());
    for (std::size_t i = 1; i < values.size(); ++i) EXPECT_GT(values[i], values[i - 1]);
    EXPECT_EQ(values.back(), 100);
    EXPECT_LE(values.size(), 101u);
}

TEST_F(DecodeRunTest, FailedRunPostsDoneOne) {
    vt::QueueMessageWindow window;
    DecodeRun run({Path("missing.vrc").string(), Path("x.wav").string(), 1024, 100}, &window, 3);
    ASSERT_TRUE(run.Start());
    auto done = window.WaitFor(WM_TY_CODECDONE, 5s);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->lParam, 1);
    run.Join();
    EXPECT_EQ(run.Result(), kDecodeCannotRead);
}

TEST_F(DecodeRunTest, CancelledRunEnds) {
    ASSERT_TRUE(test::WriteVrc(Path("speech.vrc"), vt::test::SpeechLikeSamples(1000)));
    std::atomic<bool> cancel{true};
    EXPECT_EQ(DecodeRun::Convert({Path("speech.vrc").string(), Path("s.wav").string(), 1024, 100},
                                 {}, &cancel),
              kDecodeCancelled);
}

}  // namespace
