// A watched recording on the simulated line: the far end speaks a real
// sentence and then falls silent, or hangs up (the exchange's busy tone is
// in the recorded audio). The engine posts WM_TY_RECORDWATCH for each, and
// TY_GetRecordAudio tells where the speech ends and where the tone began,
// in mu-law and in a compressed mode.
#include <gtest/gtest.h>

#include "AudioFixture.h"
#include "LineSignals.h"

namespace lindev::test {
namespace {

using namespace std::chrono_literals;

class RecordWatchTest : public AudioFixture {
protected:
    TY_RECORDAUDIO Audio() {
        TY_RECORDAUDIO a{};
        EXPECT_EQ(TY_GetRecordAudio(&a, 0), 1);
        return a;
    }
};

TEST_F(RecordWatchTest, SilenceAndTheBusyToneAreHeardAndTold) {
    const Speech& speech = SpokenSentence(env_->Root());
    const unsigned speechMs = static_cast<unsigned>(speech.samples.size() / 8);
    const auto far = File("far.wav");
    ASSERT_TRUE(vt::test::WritePcmWav(far, Join({speech.samples, Silence(30000)})));
    Sim("audio " + far.string());
    Sim("speed 10");
    struct Case {
        int recordType;  // 0: mode 0 (mu-law WAV); 1: mode 3 (compressed)
        bool hangUp;
    };
    for (const Case c : {Case{0, false}, Case{0, true}, Case{1, false}, Case{1, true}}) {
        SCOPED_TRACE(testing::Message() << "type " << c.recordType << (c.hangUp ? " hang-up" : ""));
        Sim("ring");
        ASSERT_EQ(TY_HookOff(0), 1);  // answers: the caller's line, no tone
        window.Drain();
        const auto path = File(c.recordType == 0 ? "message.wav" : "message.vrc");
        ASSERT_EQ(TY_WatchRecord(c.hangUp ? 0 : 2000, 0), 1);
        ASSERT_EQ(TY_StartRecord(path.c_str(), 0, c.recordType, 0), 1);
        if (c.hangUp) {
            // Once the sentence and a pause are in, the caller hangs up.
            for (int i = 0; i < 500 && Audio().audioMs < speechMs + 800; ++i)
                std::this_thread::sleep_for(10ms);
            ASSERT_EQ(Sim("hangup").rfind("OK", 0), 0u);
        }
        const auto notice = window.WaitFor(WM_TY_RECORDWATCH, 20s);
        ASSERT_TRUE(notice);
        EXPECT_EQ(notice->lParam, c.hangUp ? kRecordWatchBusy : kRecordWatchSilence);
        const TY_RECORDAUDIO running = Audio();
        EXPECT_EQ(running.recording, 1);
        ASSERT_EQ(TY_StopRecord(0), 1);
        const TY_RECORDAUDIO a = Audio();
        EXPECT_EQ(a.recording, 0);
        EXPECT_EQ(a.mode, c.recordType == 0 ? 0 : 3);
        EXPECT_EQ(a.busyTone, c.hangUp ? 1 : 0);
        EXPECT_NEAR(a.keepMs, speech.activeMs, 300.0);
        const auto fileBytes = std::filesystem::file_size(path) - (c.recordType == 0 ? 44 : 0);
        EXPECT_LE(a.dataBytes, fileBytes);
        EXPECT_LT(a.keepBytes, a.dataBytes);
        if (c.hangUp) {
            EXPECT_GE(a.busyMs, speechMs + 800);
            EXPECT_GE(a.busyBytes, a.keepBytes);
        } else {
            EXPECT_GE(a.silenceMs, 2000u);
            EXPECT_EQ(a.busyTone, 0);
        }
        EXPECT_EQ(window.Count(WM_TY_RECORDWATCH), 0u) << "each notice once";
        ASSERT_EQ(TY_HookOn(0), 1);
        Sim("ring stop");
    }
    // An unwatched recording posts nothing.
    Sim("ring");
    ASSERT_EQ(TY_HookOff(0), 1);
    ASSERT_EQ(TY_StartRecord(File("call.wav").c_str(), 0, 0, 0), 1);
    for (int i = 0; i < 500 && Audio().silenceMs < 3000; ++i) std::this_thread::sleep_for(10ms);
    ASSERT_EQ(TY_StopRecord(0), 1);
    EXPECT_GE(Audio().silenceMs, 3000u);
    EXPECT_EQ(window.Count(WM_TY_RECORDWATCH), 0u);
}

}  // namespace
}  // namespace lindev::test
