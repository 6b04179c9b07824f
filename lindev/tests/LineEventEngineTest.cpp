#include "LineEventEngine.h"

#include <gtest/gtest.h>

#include "RecordingSink.h"
#include "Protocol.h"
#include "lindev/lindev.h"

using namespace lindev;
using lindev::test::Event;
using lindev::test::RecordingSink;

namespace {

using Params = std::vector<vt::LPARAM>;

class LineEventEngineTest : public ::testing::Test {
protected:
    // Polls `word` `times` times.
    void Feed(std::uint32_t word, int times = 1) {
        for (int i = 0; i < times; ++i) engine.Poll(word);
    }
    std::size_t Count(vt::UINT message) const { return sink.Posts(message).size(); }
    // The lParam of every post of `message`, oldest first.
    Params PostedParams(vt::UINT message) const {
        Params params;
        for (const Event& e : sink.Posts(message)) params.push_back(e.lParam);
        return params;
    }
    bool Logged(const std::string& text) const {
        for (const std::string& line : sink.Logs())
            if (line == text) return true;
        return false;
    }
    // Off-hook, then the hook-change messages cleared from the record.
    void GoOffHook() {
        Feed(status::kOffHook);
        sink.events.clear();
    }

    RecordingSink sink;
    LineEventEngine engine{sink};
};

constexpr std::uint16_t kOff = status::kOffHook;
constexpr std::uint16_t kToneOn = status::kOffHook | status::kTone;

std::uint16_t Digit(int code, std::uint16_t extra = 0) {
    return static_cast<std::uint16_t>((code << 12) | status::kDtmfStrobe | extra);
}

}  // namespace

// --- Removal ------------------------------------------------------------------

TEST_F(LineEventEngineTest, UnreadableWordOnConsecutivePollsPostsOneRemoval) {
    Feed(0xFFFFFFFFu, 3);
    EXPECT_EQ(PostedParams(WM_TY_DEVICEREMOVED), Params{0});
    EXPECT_TRUE(Logged("Message. WM_TY_DEVICEREMOVED 0L"));
    EXPECT_EQ(engine.PreviousWord(), 0xFFFF);
    EXPECT_EQ(sink.PostCount(), 1u) << "an unreadable word is not taken apart into bits";
}

TEST_F(LineEventEngineTest, RemovalAfterAReadableWordIsReportedAgain) {
    Feed(0xFFFF);
    Feed(0);
    Feed(0xFFFF);
    EXPECT_EQ(Count(WM_TY_DEVICEREMOVED), 2u);
}

TEST_F(LineEventEngineTest, ResetForAFreshAdapterReportsItsFirstRemovalAndNoFalseChanges) {
    GoOffHook();
    Feed(status::kReverse | status::kArs | kOff, 2);
    Feed(0xFFFFFFFFu);
    ASSERT_EQ(Count(WM_TY_DEVICEREMOVED), 1u);
    engine.Reset();  // the adapter was opened again
    sink.events.clear();
    Feed(0, 5);  // an idle line: nothing changed since a fresh start
    EXPECT_EQ(sink.PostCount(), 0u);
    EXPECT_EQ(engine.ToneStateValue(), kToneIdle);
    Feed(0xFFFFFFFFu, 3);  // removed again at once
    EXPECT_EQ(PostedParams(WM_TY_DEVICEREMOVED), Params{0});
    engine.Reset();
    sink.events.clear();
    Feed(0xFFFFFFFFu);  // unreadable on the very first poll after a re-open
    EXPECT_EQ(PostedParams(WM_TY_DEVICEREMOVED), Params{0});
}

TEST_F(LineEventEngineTest, UnfinishedPollWithAStuckWorkerReportsRemovalAndEnds) {
    sink.workerRunning = true;
    ASSERT_TRUE(engine.BeginPoll());  // a poll that never finished
    EXPECT_FALSE(engine.BeginPoll());
    EXPECT_EQ(sink.Actions("StopStuckWorker"), 1);
    EXPECT_EQ(Count(WM_TY_DEVICEREMOVED), 1u);
    EXPECT_TRUE(Logged("Message.m_bInterruptAct=TRUE, WM_TY_DEVICEREMOVED 0L"));
}

TEST_F(LineEventEngineTest, UnfinishedPollWithoutWorkersGoesOnReading) {
    ASSERT_TRUE(engine.BeginPoll());
    EXPECT_TRUE(engine.BeginPoll()) << "no worker to stop: the poll continues";
    engine.EndPoll(kOff);
    EXPECT_EQ(Count(WM_TY_DEVICEREMOVED), 1u);
    EXPECT_EQ(Count(WM_TY_LINENOTIFY), 1u);
    engine.Poll(kOff);
    EXPECT_EQ(Count(WM_TY_DEVICEREMOVED), 1u) << "a finished poll clears the guard";
}

// --- Ringing ------------------------------------------------------------------

TEST_F(LineEventEngineTest, RingOnElevenPollsIsNotConfirmed) {
    Feed(status::kRing, 11);
    EXPECT_EQ(Count(WM_TY_RINGDETECTED), 0u);
    EXPECT_FALSE(engine.Ringing());
}

TEST_F(LineEventEngineTest, RingIsConfirmedOnItsTwelfthPollOnce) {
    Feed(status::kRing, 12);
    EXPECT_EQ(PostedParams(WM_TY_RINGDETECTED), Params{0});
    EXPECT_TRUE(Logged("Message. WM_TY_RINGDETECTED Count=a"));
    Feed(status::kRing, 40);
    EXPECT_EQ(Count(WM_TY_RINGDETECTED), 1u);
    EXPECT_TRUE(engine.Ringing());
}

TEST_F(LineEventEngineTest, ShortBurstsAddUpBeforeRingingIsConfirmed) {
    // The first poll of each burst does not count: 4 + 4, then 2 more.
    Feed(status::kRing, 5);
    Feed(0, 3);
    Feed(status::kRing, 5);
    Feed(0, 3);
    Feed(status::kRing, 3);
    EXPECT_EQ(Count(WM_TY_RINGDETECTED), 0u);
    Feed(status::kRing);
    EXPECT_EQ(Count(WM_TY_RINGDETECTED), 1u);
}

TEST_F(LineEventEngineTest, RingEndsOnThe51stSilentPollWithTheRingEndTime) {
    Feed(status::kRing, 12);
    Feed(0, 50);
    EXPECT_EQ(Count(WM_TY_RINGEND), 0u);
    Feed(0);
    EXPECT_EQ(PostedParams(WM_TY_RINGEND), Params{5700});
    EXPECT_TRUE(Logged("Message. WM_TY_RINGEND 0L"));
    EXPECT_FALSE(engine.Ringing());
    Feed(0, 100);
    EXPECT_EQ(Count(WM_TY_RINGEND), 1u);
}

TEST_F(LineEventEngineTest, ALongerRingEndTimeWaitsLongerAndIsPosted) {
    engine.SetRingEndTime(6000);
    Feed(status::kRing, 12);
    Feed(0, 60);
    EXPECT_EQ(Count(WM_TY_RINGEND), 0u);
    Feed(0);
    EXPECT_EQ(PostedParams(WM_TY_RINGEND), Params{6000});
}

TEST_F(LineEventEngineTest, RingCountRestartsAfterRingEnd) {
    Feed(status::kRing, 12);
    Feed(0, 51);
    Feed(status::kRing, 11);
    EXPECT_EQ(Count(WM_TY_RINGDETECTED), 1u);
    Feed(status::kRing);
    EXPECT_EQ(Count(WM_TY_RINGDETECTED), 2u);
}

// --- Hook changes -------------------------------------------------------------

TEST_F(LineEventEngineTest, OffHookThenOnHookPostLineNotify) {
    Feed(kOff);
    EXPECT_EQ(engine.ToneStateValue(), kToneOffHook);
    Feed(0);
    EXPECT_EQ(PostedParams(WM_TY_LINENOTIFY), (Params{1, 0}));
    EXPECT_TRUE(Logged("Message. WM_TY_LINENOTIFY 1L"));
    EXPECT_TRUE(Logged("Message. WM_TY_LINENOTIFY 0L"));
    EXPECT_EQ(engine.ToneStateValue(), kToneIdle);
    EXPECT_EQ(sink.Actions("ClearCallerId"), 1);
    EXPECT_EQ(sink.Actions("ClearAutoDial"), 1);
}

TEST_F(LineEventEngineTest, OnHookEndsRinging) {
    Feed(status::kRing | kOff, 12);
    ASSERT_TRUE(engine.Ringing());
    Feed(0);
    EXPECT_FALSE(engine.Ringing());
}

TEST_F(LineEventEngineTest, HeadsetInLocationTwoIsPutBackToTelOnEveryHookChange) {
    sink.headsetLocation = 2;
    Feed(kOff);
    EXPECT_TRUE(Logged("To set Tel_mode. When Hook Off State. "));
    EXPECT_EQ(sink.Actions("SetTelMode"), 1);
    Feed(0);
    EXPECT_EQ(sink.Actions("SetTelMode"), 2);
}

TEST_F(LineEventEngineTest, HeadsetInLocationOneIsLeftAlone) {
    Feed(kOff);
    Feed(0);
    EXPECT_EQ(sink.Actions("SetTelMode"), 0);
}

TEST_F(LineEventEngineTest, HookChangeDuringRecordingStopsItOnce) {
    Feed(status::kRecording);
    Feed(status::kRecording | kOff);
    EXPECT_EQ(sink.Actions("StopRecording"), 1);
    EXPECT_TRUE(Logged("Stop Record. When LINE State change. "));
    EXPECT_TRUE(engine.RecordStopLatch());
    Feed(status::kRecording);
    EXPECT_EQ(sink.Actions("StopRecording"), 1) << "the latch holds while bit 6 stays set";
    Feed(kOff);  // hook change with bit 6 clear resets the latch
    EXPECT_FALSE(engine.RecordStopLatch());
    Feed(status::kRecording | kOff);
    EXPECT_EQ(sink.Actions("StopRecording"), 1) << "no hook change: nothing stopped";
    Feed(status::kRecording);
    EXPECT_EQ(sink.Actions("StopRecording"), 2);
}

TEST_F(LineEventEngineTest, HookChangeDuringPlaybackStopsItOnce) {
    Feed(status::kPlaying | kOff);
    EXPECT_EQ(sink.Actions("StopPlayback"), 1);
    EXPECT_TRUE(Logged("Stop Play. When LINE State change. "));
    Feed(status::kPlaying);
    EXPECT_EQ(sink.Actions("StopPlayback"), 1);
    Feed(kOff);
    EXPECT_FALSE(engine.PlayStopLatch());
}

// --- Reverse polarity, ARS and caller ID --------------------------------------

TEST_F(LineEventEngineTest, ReverseToneAndArsBitsPostTheirEdges) {
    Feed(status::kReverse);
    Feed(status::kReverse | status::kArs);
    Feed(0);
    EXPECT_EQ(PostedParams(WM_TY_REVERSETONE), (Params{1, 0}));
    EXPECT_EQ(PostedParams(WM_TY_GETARS), (Params{1, 0}));
    EXPECT_TRUE(Logged("Message. WM_TY_REVERSETONE 1L"));
    EXPECT_TRUE(Logged("Message. WM_TY_GETARS 0L"));
}

TEST_F(LineEventEngineTest, CallerIdBitsTogetherTriggerOneReadAndPost) {
    sink.callerIdOutput = "x";
    Feed(status::kCallerIdBits);
    Feed(status::kCallerIdBits, 5);  // unchanged word: no new read
    EXPECT_EQ(sink.Actions("ReadCallerId"), 1);
    ASSERT_EQ(Count(WM_TY_CIDREDAY), 1u);
    EXPECT_TRUE(Logged("Message. WM_TY_CIDREDAY CID=x"));
}

TEST_F(LineEventEngineTest, OneCallerIdBitAloneIsIgnored) {
    Feed(0x0002);
    Feed(0x0004);
    EXPECT_EQ(sink.Actions("ReadCallerId"), 0);
}

TEST_F(LineEventEngineTest, FailedCallerIdReadPostsNothing) {
    sink.callerIdResult = 3;
    Feed(status::kCallerIdBits);
    EXPECT_EQ(sink.Actions("ReadCallerId"), 1);
    EXPECT_EQ(Count(WM_TY_CIDREDAY), 0u);
}

// --- Call-progress tones ------------------------------------------------------

TEST_F(LineEventEngineTest, DialToneIsConfirmedOnThe36thTonePollOnce) {
    GoOffHook();
    Feed(kToneOn, 35);
    EXPECT_EQ(Count(WM_TY_DIALTONE), 0u);
    Feed(kToneOn);
    ASSERT_EQ(Count(WM_TY_DIALTONE), 1u);
    EXPECT_TRUE(Logged("Message. WM_TY_DIALTONE 0L"));
    Feed(kToneOn, 200);
    EXPECT_EQ(Count(WM_TY_DIALTONE), 1u);
    EXPECT_EQ(engine.ToneStateValue(), kToneDial);
}

TEST_F(LineEventEngineTest, ToneOnHookIsNotClassified) {
    Feed(status::kTone, 50);
    Feed(0);
    EXPECT_EQ(sink.PostCount(), 0u);
}

TEST_F(LineEventEngineTest, TwoEightPollBurstsAreBusyOne) {
    GoOffHook();
    for (int burst = 0; burst < 2; ++burst) {
        Feed(kToneOn, 8);
        Feed(kOff, 8);
    }
    EXPECT_EQ(PostedParams(WM_TY_TONELENGTH), (Params{8, 8}));
    EXPECT_EQ(Count(WM_TY_BUSY1), 1u);
    EXPECT_TRUE(Logged("Message. WM_TY_BUSY1 0L"));
    EXPECT_EQ(engine.ToneStateValue(), kToneBusy1);
}

TEST_F(LineEventEngineTest, ElevenPollBurstsCountAsBusyOne) {
    GoOffHook();
    for (int burst = 0; burst < 2; ++burst) {
        Feed(kToneOn, 11);
        Feed(kOff, 5);
    }
    EXPECT_EQ(Count(WM_TY_BUSY1), 1u);
    EXPECT_EQ(Count(WM_TY_BUSY2), 0u);
}

TEST_F(LineEventEngineTest, TwoFifteenPollBurstsAreBusyTwo) {
    GoOffHook();
    for (int burst = 0; burst < 2; ++burst) {
        Feed(kToneOn, 15);
        Feed(kOff, 15);
    }
    EXPECT_EQ(Count(WM_TY_BUSY2), 1u);
    EXPECT_EQ(Count(WM_TY_BUSY1), 0u);
    EXPECT_TRUE(Logged("Message. WM_TY_BUSY2 0L"));
    EXPECT_EQ(engine.ToneStateValue(), kToneBusy2);
}

TEST_F(LineEventEngineTest, MixedBurstsResetTheOtherBusyCount) {
    GoOffHook();
    Feed(kToneOn, 8);
    Feed(kOff, 4);
    Feed(kToneOn, 15);
    Feed(kOff, 4);
    Feed(kToneOn, 8);
    Feed(kOff, 4);
    EXPECT_EQ(Count(WM_TY_BUSY1), 0u);
    EXPECT_EQ(Count(WM_TY_BUSY2), 0u);
}

TEST_F(LineEventEngineTest, RingBackBurstThenLongSilenceIsReceive) {
    GoOffHook();
    Feed(kToneOn, 30);
    Feed(kOff);
    ASSERT_EQ(Count(WM_TY_RINGBACKTONE), 1u);
    EXPECT_TRUE(Logged("Message. WM_TY_RINGBACKTONE 0L"));
    EXPECT_EQ(engine.ToneStateValue(), kToneRingBack);
    // Silence counts from the poll after the one that ended the burst.
    Feed(kOff, 180);
    EXPECT_EQ(Count(WM_TY_RECEIVE), 0u);
    Feed(kOff);
    ASSERT_EQ(Count(WM_TY_RECEIVE), 1u);
    EXPECT_TRUE(Logged("Message. WM_TY_RECEIVE 0L"));
    EXPECT_EQ(engine.ToneStateValue(), kToneReceive);
    Feed(kOff, 400);
    EXPECT_EQ(Count(WM_TY_RECEIVE), 1u);
}

TEST_F(LineEventEngineTest, BusyOneIsIgnoredAfterReceive) {
    GoOffHook();
    Feed(kToneOn, 30);
    Feed(kOff, 182);
    ASSERT_EQ(engine.ToneStateValue(), kToneReceive);
    for (int burst = 0; burst < 2; ++burst) {
        Feed(kToneOn, 8);
        Feed(kOff, 8);
    }
    EXPECT_EQ(Count(WM_TY_BUSY1), 0u);
    EXPECT_EQ(Count(WM_TY_TONELENGTH), 3u);
}

TEST_F(LineEventEngineTest, ThresholdsCanBeChanged) {
    auto times = kDefaultToneTimes;
    times[kDialTonePolls] = 10;
    engine.SetToneTimes(times);
    EXPECT_EQ(engine.ToneTimes(), times);
    GoOffHook();
    Feed(kToneOn, 10);
    EXPECT_EQ(Count(WM_TY_DIALTONE), 1u);
}

// --- DTMF ---------------------------------------------------------------------

TEST_F(LineEventEngineTest, StrobeRisePostsTheDigitCode) {
    GoOffHook();
    Feed(Digit(5) | kOff);
    Feed(Digit(5) | kOff, 3);  // held: one digit
    Feed(kOff);
    Feed(Digit(10) | kOff);
    Feed(kOff);
    Feed(Digit(11) | kOff);
    EXPECT_EQ(PostedParams(WM_TY_GETDTMF), (Params{5, 10, 11}));
    EXPECT_TRUE(Logged("Message. WM_TY_GETDTMF DTMF=5"));
    EXPECT_TRUE(Logged("Message. WM_TY_GETDTMF DTMF=*"));
    EXPECT_TRUE(Logged("Message. WM_TY_GETDTMF DTMF=0"));
    EXPECT_EQ(engine.DtmfDigitCount(), 3);
}

TEST_F(LineEventEngineTest, HashAndUnassignedCodesAreLoggedAsWritten) {
    Feed(Digit(12));
    Feed(0);
    Feed(Digit(14));
    EXPECT_TRUE(Logged("Message. WM_TY_GETDTMF DTMF=#"));
    EXPECT_TRUE(Logged("Message. WM_TY_GETDTMF DTMF=14"));
}

TEST_F(LineEventEngineTest, DigitWhileDiallingIsAnExtensionDigit) {
    Feed(Digit(2, status::kDialling));
    Feed(status::kDialling);
    Feed(Digit(9, status::kDialling));
    EXPECT_EQ(PostedParams(WM_EX_EXT_DTMF), (Params{2, 9}));
    EXPECT_EQ(Count(WM_TY_GETDTMF), 0u);
    EXPECT_TRUE(Logged("Message. WM_EX_EXT_DTMF DTMF=B"));
    EXPECT_TRUE(Logged("Message. WM_EX_EXT_DTMF DTMF=9"));
}

TEST_F(LineEventEngineTest, NoDigitIsPostedWhileAutoDialling) {
    sink.autoDial = true;
    Feed(Digit(3));
    Feed(0);
    EXPECT_EQ(Count(WM_TY_GETDTMF), 0u);
    EXPECT_EQ(Count(WM_EX_EXT_DTMF), 0u);
    sink.autoDial = false;
    Feed(Digit(3));
    EXPECT_EQ(Count(WM_TY_GETDTMF), 1u);
}
