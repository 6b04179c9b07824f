// Absence mode: every road of a call the answering machine takes, on a
// manual clock with a scriptable line and the real call log.

#include <fstream>

#include "PhoneFixture.h"
#include "lindev/Messages.h"
#include "vantelo/core/PhoneIds.h"

namespace vantelo::test {
namespace {

class Machine : public Phone {
protected:
    // Absence mode on with a greeting of the user's; ring time 5 s,
    // key time-out 5 s, messages up to 30 s.
    void SwitchOn(int modeAbsence, bool prompts = true) {
        StartPhone([&](PhoneSettings& s) {
            s.ModeAbsence = modeAbsence;
            s.IntKeyTime = 160;
        });
        phone_->MutableSettings().StrAbsenceFile = MakeGreeting();
        if (prompts)
            MakeAllPrompts();
        phone_->ArsButton();
        ASSERT_TRUE(phone_->State().absenceMode);
        ASSERT_EQ(line_.Last("SetARSComm"), "SetARSComm 1");
        ASSERT_EQ(view_.looks[kArsButton], "AbsenceOn");
    }

    // A caller rings and the machine answers after the ring time.
    void CallerRingsAndMachineAnswers(const std::string& number = "0212345678") {
        Ring(number);
        Advance(4999);
        ASSERT_FALSE(line_.OffHook());
        Advance(1);
        ASSERT_TRUE(line_.OffHook());
        ASSERT_TRUE(phone_->State().engaged);
    }

    std::string Playing() const {
        return std::filesystem::path(line_.playingPath).filename().string();
    }
    int Level() const { return phone_->State().absenceLevel; }
};

TEST_F(Machine, SwitchingOnIsRefusedWithoutModeOrGreeting) {
    StartPhone();
    phone_->ArsButton();
    EXPECT_EQ(view_.status, "환경설정에 부재중 설정이 되어 있지 않습니다.");
    phone_->MutableSettings().ModeAbsence = kAbsenceCallerChooses;
    phone_->ArsButton();
    EXPECT_EQ(view_.status, "환경설정에 부재중 설정파일이 없습니다.");
    EXPECT_FALSE(phone_->State().absenceMode);
    EXPECT_FALSE(line_.Called("SetARSComm 1"));
    // The shipped default greeting stands in for a greeting not chosen.
    MakePrompt(kDefaultGreetingFile);
    phone_->ArsButton();
    EXPECT_TRUE(phone_->State().absenceMode);
}

TEST_F(Machine, GreetingOnlyAnswersPlaysAndHangsUp) {
    SwitchOn(kAbsenceGreetingOnly);
    CallerRingsAndMachineAnswers();
    EXPECT_EQ(view_.pictures[kMachinePicture], kBitmapEngaged);
    EXPECT_EQ(Playing(), "greeting.wav");
    EXPECT_EQ(view_.status, "안내멘트를 재생중입니다.");
    EXPECT_EQ(Level(), kLevelGreetingOnly);
    FarEndPresses("1");  // keys are only kept
    EXPECT_EQ(Playing(), "greeting.wav");
    Advance(8000);
    line_.FinishPlayback();
    Deliver();
    EXPECT_FALSE(line_.OffHook());
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallAnswered);
    EXPECT_EQ(row.CallNum, "0212345678");
    EXPECT_EQ(row.CallTime, 8);
    EXPECT_EQ(row.CallDtmf, "1");
    EXPECT_EQ(view_.pictures[kMachinePicture], kBitmapMachineIdle);
    EXPECT_FALSE(phone_->State().engaged);
    EXPECT_EQ(Level(), 0);
    EXPECT_TRUE(phone_->State().absenceMode) << "absence mode survives the call";
}

TEST_F(Machine, NoStrayPlaybackEndWhenTheLineIsTaken) {
    SwitchOn(kAbsenceCallerChooses);
    CallerRingsAndMachineAnswers();
    // Nothing played before the greeting, so nothing was stopped: the
    // library's end notice for an empty stop never reaches the greeting.
    EXPECT_FALSE(line_.Called("StopWaveOut"));
    EXPECT_EQ(Level(), kLevelKeysAccepted);
    EXPECT_TRUE(phone_->State().playing);
    EXPECT_FALSE(timers_.IsRunning(kTimerCallerTimeOut));
}

TEST_F(Machine, TimeOutAfterTheGreetingPlaysPrompt9AndHangsUp) {
    SwitchOn(kAbsenceCallerChooses);
    CallerRingsAndMachineAnswers();
    line_.FinishPlayback();
    Deliver();
    EXPECT_EQ(Level(), kLevelWaitingForKey);
    Advance(4999);
    EXPECT_EQ(Level(), kLevelWaitingForKey);
    Advance(1);
    EXPECT_EQ(Playing(), "m_ArsRe9.wav");
    EXPECT_EQ(Level(), kLevelPrompt9);
    line_.FinishPlayback();
    Deliver();
    EXPECT_FALSE(line_.OffHook());
    EXPECT_EQ(OnlyRow().CallMode, kCallAnswered);
}

TEST_F(Machine, WithoutAnyPromptOrGreetingTheCallIsReleasedAfterTheTimeOut) {
    SwitchOn(kAbsenceCallerChooses, /*prompts=*/false);
    std::filesystem::remove(phone_->Settings().StrAbsenceFile);
    CallerRingsAndMachineAnswers();
    EXPECT_EQ(Level(), kLevelWaitingForKey);
    Advance(5000);
    EXPECT_FALSE(line_.OffHook());
    EXPECT_EQ(OnlyRow().CallMode, kCallAnswered);
}

TEST_F(Machine, Key1StopsTheGreetingThenPrompt1BeepAndTheMessageIsRecorded) {
    SwitchOn(kAbsenceCallerChooses);
    CallerRingsAndMachineAnswers("0311112222");
    FarEndPresses("1");
    EXPECT_EQ(line_.Last("WaveOut"), "WaveOut m_ArsRe1.wav raw=0");
    EXPECT_EQ(Level(), kLevelPrompt1);
    line_.FinishPlayback();
    Deliver();
    EXPECT_EQ(line_.Last("SendNumber"), "SendNumber 0 320 8");
    ASSERT_TRUE(line_.Called("StartRecord"));
    EXPECT_EQ(timers_.PeriodOf(kTimerMessageLimit), 30000u);
    FarEndPresses("55");  // said during the message: only kept
    Advance(12000);
    Post(WM_TY_BUSY2);  // the caller hung up
    EXPECT_FALSE(line_.OffHook());
    EXPECT_FALSE(timers_.IsRunning(kTimerMessageLimit));
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallAnswered);
    EXPECT_TRUE(row.CallRec);
    EXPECT_FALSE(row.CallRecFileName.empty());
    EXPECT_EQ(row.CallDtmf, "55");
}

TEST_F(Machine, MessageLimitEndsALongMessage) {
    SwitchOn(kAbsenceCallerChooses);
    CallerRingsAndMachineAnswers();
    line_.FinishPlayback();
    Deliver();
    FarEndPresses("1");  // while waiting: prompt 1 at once
    EXPECT_EQ(Playing(), "m_ArsRe1.wav");
    line_.FinishPlayback();
    Deliver();
    ASSERT_TRUE(phone_->State().recording);
    Advance(30000);
    EXPECT_FALSE(line_.OffHook());
    EXPECT_TRUE(line_.Called("StopRecord"));
    EXPECT_TRUE(OnlyRow().CallRec);
}

TEST_F(Machine, Key2PlaysPrompt2AndHoldsTheLine15Seconds) {
    SwitchOn(kAbsenceCallerChooses);
    CallerRingsAndMachineAnswers();
    line_.FinishPlayback();
    Deliver();
    FarEndPresses("2");
    EXPECT_EQ(Playing(), "m_ArsRe2.wav");
    line_.FinishPlayback();
    Deliver();
    EXPECT_EQ(timers_.PeriodOf(kTimerMessageLimit), 15000u);
    Advance(14999);
    EXPECT_TRUE(line_.OffHook());
    Advance(1);
    EXPECT_FALSE(line_.OffHook());
    EXPECT_FALSE(OnlyRow().CallRec);
}

TEST_F(Machine, Key3ReplaysTheGreetingAndOtherKeysPlayPrompt8) {
    SwitchOn(kAbsenceCallerChooses);
    CallerRingsAndMachineAnswers();
    line_.FinishPlayback();
    Deliver();
    FarEndPresses("3");
    EXPECT_EQ(Playing(), "greeting.wav");
    EXPECT_EQ(Level(), kLevelKeysAccepted);
    EXPECT_FALSE(timers_.IsRunning(kTimerCallerTimeOut));
    FarEndPresses("5");  // during the greeting: stopped, then prompt 8
    EXPECT_EQ(Level(), kLevelKeysAccepted);
    EXPECT_EQ(Playing(), "m_ArsRe8.wav");
    line_.FinishPlayback();
    Deliver();
    EXPECT_EQ(Level(), kLevelWaitingForKey) << "after prompt 8 the machine waits again";
    FarEndPresses("3");  // while waiting
    EXPECT_EQ(Playing(), "greeting.wav");
    FarEndPresses("3");  // during the greeting: it starts over
    EXPECT_EQ(Playing(), "greeting.wav");
    EXPECT_EQ(Level(), kLevelKeysAccepted);
    EXPECT_EQ(line_.Count("WaveOut greeting.wav"), 4);
}

TEST_F(Machine, CallerHangsUpDuringTheGreeting) {
    SwitchOn(kAbsenceCallerChooses);
    CallerRingsAndMachineAnswers();
    Post(WM_TY_RECEIVE);
    Post(WM_TY_BUSY2);
    EXPECT_TRUE(view_.Saw("status: 연결이 끊어졌습니다."));
    EXPECT_FALSE(line_.OffHook());
    EXPECT_EQ(OnlyRow().CallMode, kCallAnswered);
}

TEST_F(Machine, UserTakesOverWithTheArsButton) {
    SwitchOn(kAbsenceCallerChooses);
    CallerRingsAndMachineAnswers();
    FarEndPresses("1");
    line_.FinishPlayback();
    Deliver();
    ASSERT_TRUE(phone_->State().recording);
    ASSERT_TRUE(timers_.IsRunning(kTimerMessageLimit));
    phone_->ArsButton();
    Deliver();
    EXPECT_FALSE(phone_->State().recording);
    EXPECT_FALSE(phone_->State().absenceMode);
    EXPECT_EQ(Level(), kLevelTakenOver);
    EXPECT_EQ(view_.looks[kArsButton], "AbsenceOff");
    EXPECT_EQ(line_.Last("SetARSComm"), "SetARSComm 0");
    // The message limit set for the caller's message does not end the
    // user's call.
    Advance(60000);
    EXPECT_TRUE(line_.OffHook());
    phone_->HookButton();
    Deliver();
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallReceived);
    EXPECT_TRUE(row.CallRec);
}

TEST_F(Machine, UserTakesOverDuringTheGreeting) {
    SwitchOn(kAbsenceCallerChooses);
    CallerRingsAndMachineAnswers();
    phone_->ArsButton();
    Deliver();
    EXPECT_FALSE(phone_->State().playing);
    EXPECT_TRUE(line_.Called("StopWaveOut"));
    EXPECT_TRUE(line_.OffHook()) << "the end of the stopped greeting does not hang up";
    phone_->HookButton();
    Deliver();
    EXPECT_EQ(OnlyRow().CallMode, kCallReceived);
}

TEST_F(Machine, HandsetLiftedBeforeTheAnswerTime) {
    SwitchOn(kAbsenceCallerChooses);
    Ring("0212345678");
    Advance(2000);
    phone_->HookButton();  // the user answers first
    Deliver();
    Advance(3000);
    EXPECT_FALSE(phone_->State().engaged);
    EXPECT_EQ(line_.Count("HookOff"), 1);
    EXPECT_FALSE(line_.Called("WaveOut"));
    phone_->HookButton();
    Deliver();
    EXPECT_EQ(OnlyRow().CallMode, kCallReceived);
}

TEST_F(Machine, RingEndingBeforeTheAnswerTimeCancelsTheAnswer) {
    SwitchOn(kAbsenceCallerChooses);
    Ring("0212345678");
    Advance(3000);
    RingEnd();
    Advance(10000);
    EXPECT_FALSE(line_.Called("HookOff"));
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallMissed);
}

TEST_F(Machine, ArsKeyOfTheAdapterSwitchesWithoutTheLamp) {
    StartPhone();
    Post(WM_TY_GETARS, 1);
    EXPECT_TRUE(phone_->State().absenceMode);
    EXPECT_EQ(view_.looks[kArsButton], "AbsenceOn");
    Post(WM_TY_GETARS, 0);
    EXPECT_FALSE(phone_->State().absenceMode);
    EXPECT_FALSE(line_.Called("SetARSComm"));
}

TEST_F(Machine, CompressedGreetingIsPlayedRaw) {
    SwitchOn(kAbsenceGreetingOnly);
    const auto vrc = env_.AppHome() / "greeting.VRC";
    std::ofstream(vrc) << "x";
    phone_->MutableSettings().StrAbsenceFile = vrc.string();
    CallerRingsAndMachineAnswers();
    EXPECT_EQ(line_.Last("WaveOut"), "WaveOut greeting.VRC raw=1");
}

}  // namespace
}  // namespace vantelo::test
