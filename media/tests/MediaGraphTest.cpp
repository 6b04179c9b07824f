#include <gtest/gtest.h>

#include <fstream>

#include "media/MediaGraph.h"
#include "testsupport/QtPump.h"
#include "testsupport/WavFixture.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/TestEnvironment.h"

namespace fs = std::filesystem;
using namespace vt::media;
using vt::test::PumpUntil;

namespace {

constexpr vt::UINT kGraphNotify = 0x8000 + 1;

class MediaGraphTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(graph_.Create(), S_OK); }

    std::string Wav(const char* name, unsigned ms, bool muLaw = false) {
        const fs::path file = env_.Root() / name;
        auto samples = vt::test::SpeechLikeSamples(ms);
        EXPECT_TRUE(muLaw ? vt::test::WriteMuLawWav(file, samples)
                          : vt::test::WritePcmWav(file, samples));
        return file.string();
    }

    std::int64_t Position() {
        std::int64_t p = -1;
        EXPECT_EQ(graph_.GetCurrentPosition(&p), S_OK);
        return p;
    }

    bool WaitForNotify(int timeoutMs) {
        return PumpUntil([&] { return window_.Count(kGraphNotify) > 0; }, timeoutMs);
    }

    vt::test::TestEnvironment env_;
    vt::QueueMessageWindow window_;
    MediaGraph graph_;
};

TEST_F(MediaGraphTest, RendersPcmWavAndReadsItsDuration) {
    ASSERT_EQ(graph_.RenderFile(Wav("a.wav", 600)), S_OK);
    std::int64_t duration = 0;
    ASSERT_EQ(graph_.GetDuration(&duration), S_OK);
    EXPECT_NEAR(static_cast<double>(duration), 600.0 * kUnitsPerMs, 5.0 * kUnitsPerMs);
    PlayState state = PlayState::Running;
    EXPECT_EQ(graph_.GetState(0, &state), S_OK);
    EXPECT_EQ(state, PlayState::Stopped);
    EXPECT_EQ(Position(), 0);
}

TEST_F(MediaGraphTest, RenderRefusesMissingAndUnplayableFiles) {
    EXPECT_EQ(graph_.RenderFile((env_.Root() / "none.wav").string()), VFW_E_NOT_FOUND);
    EXPECT_EQ(graph_.RenderFile(""), VFW_E_NOT_FOUND);
    const fs::path text = env_.Root() / "text.wav";
    std::ofstream(text) << "not a sound file, only some words of text in it";
    EXPECT_TRUE(Failed(graph_.RenderFile(text.string())));
    EXPECT_FALSE(graph_.IsRendered());
    EXPECT_EQ(graph_.Run(), VFW_E_WRONG_STATE);
}

TEST_F(MediaGraphTest, RunsPausesAndSeeksWhilePaused) {
    ASSERT_EQ(graph_.RenderFile(Wav("a.wav", 900)), S_OK);
    ASSERT_EQ(graph_.Run(), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return Position() > 0; }, 2000)) << "position advances";
    ASSERT_EQ(graph_.Pause(), S_OK);
    PlayState state = PlayState::Stopped;
    EXPECT_EQ(graph_.GetState(500, &state), S_OK);
    EXPECT_EQ(state, PlayState::Paused);
    const std::int64_t held = Position();
    vt::test::PumpFor(120);
    EXPECT_EQ(Position(), held) << "a paused graph does not move";

    ASSERT_EQ(graph_.SetPositions(600 * kUnitsPerMs), S_OK);
    EXPECT_EQ(Position(), 600 * kUnitsPerMs);
    EXPECT_EQ(graph_.GetState(0, &state), S_OK);
    EXPECT_EQ(state, PlayState::Paused) << "seeking keeps the graph paused";
    vt::test::PumpFor(80);
    EXPECT_EQ(Position(), 600 * kUnitsPerMs);
}

TEST_F(MediaGraphTest, PostsCompletionAndHandsOutTheEvent) {
    ASSERT_EQ(graph_.RenderFile(Wav("short.wav", 250)), S_OK);
    ASSERT_EQ(graph_.SetNotifyWindow(&window_, kGraphNotify, 0), S_OK);
    ASSERT_EQ(graph_.Run(), S_OK);
    ASSERT_TRUE(WaitForNotify(3000));
    auto note = window_.Take(std::chrono::milliseconds(0));
    EXPECT_EQ(note->wParam, 0u);
    EXPECT_EQ(note->lParam, 0);
    long code = 0;
    vt::LPARAM p1 = -1, p2 = -1;
    ASSERT_EQ(graph_.GetEvent(&code, &p1, &p2, 0), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    EXPECT_EQ(graph_.FreeEventParams(code, p1, p2), S_OK);
    EXPECT_EQ(graph_.GetEvent(&code, &p1, &p2, 0), E_ABORT) << "one event per end";
    EXPECT_EQ(Position(), 250 * kUnitsPerMs) << "an ended stream stands at its end";
}

TEST_F(MediaGraphTest, PlaysMuLawWavToTheEnd) {
    ASSERT_EQ(graph_.RenderFile(Wav("mulaw.wav", 300, true)), S_OK);
    std::int64_t duration = 0;
    ASSERT_EQ(graph_.GetDuration(&duration), S_OK);
    EXPECT_NEAR(static_cast<double>(duration), 300.0 * kUnitsPerMs, 5.0 * kUnitsPerMs);
    ASSERT_EQ(graph_.SetNotifyWindow(&window_, kGraphNotify, 7), S_OK);
    ASSERT_EQ(graph_.Run(), S_OK);
    ASSERT_TRUE(WaitForNotify(3000));
    EXPECT_EQ(window_.Take(std::chrono::milliseconds(0))->lParam, 7);
    long code = 0;
    vt::LPARAM p1, p2;
    ASSERT_EQ(graph_.GetEvent(&code, &p1, &p2, 0), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
}

TEST_F(MediaGraphTest, StopKeepsTheSeekForTheNextRun) {
    ASSERT_EQ(graph_.RenderFile(Wav("a.wav", 800)), S_OK);
    ASSERT_EQ(graph_.Run(), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return Position() > 0; }, 2000));
    ASSERT_EQ(graph_.SetPositions(0), S_OK);
    ASSERT_EQ(graph_.Stop(), S_OK);
    PlayState state = PlayState::Running;
    EXPECT_EQ(graph_.GetState(500, &state), S_OK);
    EXPECT_EQ(state, PlayState::Stopped);
    ASSERT_EQ(graph_.SetPositions(500 * kUnitsPerMs), S_OK);
    EXPECT_EQ(Position(), 500 * kUnitsPerMs);
    ASSERT_EQ(graph_.Run(), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return Position() > 500 * kUnitsPerMs; }, 2000))
        << "the run starts where the stopped graph was sought";
    EXPECT_EQ(graph_.StopWhenReady(), S_OK);
}

TEST_F(MediaGraphTest, EmptyWavEndsAtOnce) {
    const fs::path file = env_.Root() / "empty.wav";
    ASSERT_TRUE(vt::test::WritePcmWav(file, {}));
    const HRESULT rendered = graph_.RenderFile(file.string());
    if (Failed(rendered)) {
        EXPECT_EQ(graph_.Run(), VFW_E_WRONG_STATE);
        return;
    }
    ASSERT_EQ(graph_.SetNotifyWindow(&window_, kGraphNotify, 0), S_OK);
    ASSERT_EQ(graph_.Run(), S_OK);
    ASSERT_TRUE(WaitForNotify(2000));
    long code = 0;
    vt::LPARAM p1, p2;
    ASSERT_EQ(graph_.GetEvent(&code, &p1, &p2, 0), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
}

TEST_F(MediaGraphTest, VolumeIsInHundredthsOfADecibel) {
    long volume = 1;
    ASSERT_EQ(graph_.get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, 0) << "a new graph plays at full volume";
    EXPECT_EQ(graph_.put_Volume(-3000), S_OK);
    ASSERT_EQ(graph_.get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, -3000);
    EXPECT_EQ(graph_.put_Volume(1), E_INVALIDARG);
    EXPECT_EQ(graph_.put_Volume(-10001), E_INVALIDARG);
    EXPECT_DOUBLE_EQ(LinearVolume(0), 1.0);
    EXPECT_NEAR(LinearVolume(-2000), 0.1, 1e-9);  // -20 dB is a tenth of the amplitude
    EXPECT_NEAR(LinearVolume(-3000), 0.0316, 1e-4);
    EXPECT_DOUBLE_EQ(LinearVolume(-10000), 0.0);
}

TEST_F(MediaGraphTest, ReleasedGraphAnswersNoInterface) {
    ASSERT_EQ(graph_.RenderFile(Wav("a.wav", 200)), S_OK);
    graph_.Release();
    graph_.Release();
    EXPECT_FALSE(graph_.IsCreated());
    std::int64_t value;
    PlayState state;
    EXPECT_EQ(graph_.Run(), E_NOINTERFACE);
    EXPECT_EQ(graph_.GetDuration(&value), E_NOINTERFACE);
    EXPECT_EQ(graph_.GetState(0, &state), E_NOINTERFACE);
    EXPECT_EQ(graph_.put_Volume(0), E_NOINTERFACE);
    EXPECT_EQ(graph_.RenderFile("x.wav"), E_NOINTERFACE);
    ASSERT_EQ(graph_.Rebuild(), S_OK);
    EXPECT_TRUE(graph_.IsCreated());
    EXPECT_FALSE(graph_.IsRendered());
}

}  // namespace
