// The roads of a call through the phone controller, on a manual clock with a
// scriptable line and the real call log.

#include "PhoneFixture.h"
#include "lindev/Messages.h"
#include "vantelo/core/PhoneIds.h"

namespace vantelo::test {
namespace {

namespace fs = std::filesystem;

TEST_F(Phone, IncomingAnsweredCallIsLoggedWithCallerNameAndDuration) {
    StartPhone();
    AddContact("홍길동", "0212345678");
    Ring("0212345678");
    EXPECT_TRUE(view_.Saw("status: 전화가 왔습니다."));
    EXPECT_EQ(view_.number, "홍길동\n0212345678");
    EXPECT_TRUE(view_.Saw("popup: 홍길동\\n0212345678"));

    phone_->HookButton();  // the user answers
    Deliver();
    EXPECT_TRUE(line_.Called("HookOff"));
    EXPECT_EQ(view_.status, "통화 상태입니다.");
    EXPECT_EQ(view_.pictures[kHookPicture], kBitmapOffHook);
    EXPECT_FALSE(view_.popupShown);
    FarEndPresses("12#");
    Advance(42000);
    phone_->HookButton();
    Deliver();

    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallReceived);
    EXPECT_EQ(row.CallNum, "0212345678");
    EXPECT_EQ(row.CallName, "홍길동");
    EXPECT_EQ(row.CallTime, 42);
    EXPECT_EQ(row.CallDtmf, "12#");
    EXPECT_FALSE(row.CallRec);
    EXPECT_EQ(view_.pictures[kHookPicture], kBitmapOnHook);
    EXPECT_EQ(view_.looks[kHookButton], "HookOn");
    EXPECT_EQ(view_.number, "");
}

TEST_F(Phone, MissedCallKeepsTheTimeItsRingingBegan) {
    StartPhone();
    AddContact("김철수", "0311112222", /*innerLine=*/true);
    Advance(60000);  // long after start-up
    Ring("0311112222");
    Advance(20000);
    RingEnd();
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallMissed);
    EXPECT_EQ(row.CallNum, "0311112222");
    EXPECT_EQ(row.CallName, "김철수") << "the inner-line list names it";
    EXPECT_EQ(row.CallTime, 0);
    EXPECT_EQ(row.CallDate.minute, 1) << "stamped at the ring, not at start-up";
    EXPECT_EQ(row.CallDate.second, 0);
    EXPECT_FALSE(view_.popupShown);
    EXPECT_FALSE(phone_->State().ringing);
}

TEST_F(Phone, CallerIdBeforeTheRingIsKept) {
    StartPhone();
    line_.cid = std::string("12080900") + char(7) + "5551234";
    Post(WM_TY_CIDREDAY);
    Post(WM_TY_RINGDETECTED);
    EXPECT_EQ(view_.popup, "5551234") << "the pop-up names the caller already known";
    RingEnd();
    EXPECT_EQ(OnlyRow().CallNum, "5551234");
}

TEST_F(Phone, ThePopUpOfARingAfterCallerIdShowsTheName) {
    StartPhone();
    AddContact("홍길동", "0212345678");
    line_.cid = std::string("12080900") + char(10) + "0212345678";
    Post(WM_TY_CIDREDAY);
    EXPECT_FALSE(view_.popupShown);
    Post(WM_TY_RINGDETECTED);
    EXPECT_TRUE(view_.popupShown);
    EXPECT_EQ(view_.popup, "홍길동\n0212345678");
    EXPECT_EQ(view_.number, "홍길동\n0212345678");
    RingEnd();
    // The next call without caller ID is unknown again.
    Post(WM_TY_RINGDETECTED);
    EXPECT_EQ(view_.popup, "Vantelo\n Ring");
}

TEST_F(Phone, LiftingAndHangingUpWithoutDigitsWritesNothing) {
    StartPhone();
    phone_->HookButton();
    Deliver();
    EXPECT_TRUE(line_.Called("HookOff"));
    phone_->HookButton();
    Deliver();
    EXPECT_TRUE(Rows().empty());
}

TEST_F(Phone, HookOnOnAnIdleLineChangesNothing) {
    StartPhone();
    view_.Clear();
    Post(WM_TY_LINENOTIFY, 0);  // as after a re-plug
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(view_.lines.empty());
}

TEST_F(Phone, OutgoingCallDialledKeyByKey) {
    StartPhone([](PhoneSettings& s) { s.IntKeyTime = 200; });
    AddContact("Kim", "0212345678");
    phone_->FilterChar('0');
    EXPECT_FALSE(line_.Called("SendNumber")) << "idle: the key only extends the number";
    EXPECT_EQ(view_.number, "0");
    phone_->FilterKey(PhoneController::Key::Backspace);
    EXPECT_EQ(view_.number, "");
    phone_->HookButton();
    Deliver();
    for (char c : std::string("0212345678")) phone_->KeypadDigit(c);
    EXPECT_EQ(line_.Count("SendNumber"), 10);
    EXPECT_EQ(line_.Last("SendNumber"), "SendNumber 8 200 8");
    Post(WM_TY_RECEIVE);
    EXPECT_EQ(view_.status, "통화가 연결되었습니다.");
    Advance(65000);
    phone_->HookButton();
    Deliver();
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallOutgoing);
    EXPECT_EQ(row.CallNum, "0212345678");
    EXPECT_EQ(row.CallName, "Kim");
    EXPECT_EQ(row.CallTime, 65);
    EXPECT_FALSE(row.CallbInner);
}

TEST_F(Phone, TypedOutsideCodeIsStrippedAndShortNumbersAreInnerLines) {
    StartPhone([](PhoneSettings& s) {
        s.IsExt = 1;
        s.StrExt = "9";
    });
    phone_->HookButton();
    Deliver();
    for (char c : std::string("90212345678")) phone_->KeypadDigit(c);
    phone_->HookButton();
    Deliver();
    phone_->HookButton();
    Deliver();
    for (char c : std::string("2345")) phone_->KeypadDigit(c);
    phone_->HookButton();
    Deliver();
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].CallNum, "0212345678");
    EXPECT_FALSE(rows[0].CallbInner);
    EXPECT_EQ(rows[1].CallNum, "2345");
    EXPECT_TRUE(rows[1].CallbInner);
}

TEST_F(Phone, NumberDialledOnTheHandsetIsLoggedFromTheLineDigits) {
    StartPhone();
    Post(WM_TY_LINENOTIFY, 1);  // the handset took the line
    line_.status |= 0x10;
    FarEndPresses("0312223333");
    Post(WM_TY_GETDTMF, 13);  // ignored code
    phone_->HookButton();
    Deliver();
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallNum, "0312223333");
    EXPECT_EQ(row.CallDtmf, "");
}

TEST_F(Phone, ProgramDialsOutsideNumbersWithTheAccessCodeAndAreaCodeRemoved) {
    StartPhone([](PhoneSettings& s) {
        s.IsExt = 1;
        s.StrExt = "9";
        s.IsLocal = 1;
        s.StrLocal = "02";
        s.IntExtDelay = 1500;
    });
    phone_->SetDialNumber("02-123-4567");
    EXPECT_EQ(view_.number, "021234567");
    phone_->HookButton();
    Deliver();
    EXPECT_EQ(line_.Last("AutoDialThread"), "AutoDialThread 1234567 ext=1 prefix=9 1500 160 100 8");
    EXPECT_TRUE(phone_->State().appDialled);
    Advance(3000);
    phone_->HookButton();
    Deliver();
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallNum, "021234567");
    EXPECT_EQ(row.CallMode, kCallOutgoing);

    phone_->SetDialNumber("031-555-0000");  // not the own area code: unchanged
    phone_->HookButton();
    Deliver();
    EXPECT_EQ(line_.Last("AutoDialThread"),
              "AutoDialThread 0315550000 ext=1 prefix=9 1500 160 100 8");
}

TEST_F(Phone, FiveCharacterNumbersAreDialledAsInnerLines) {
    StartPhone([](PhoneSettings& s) {
        s.IsExt = 1;
        s.StrExt = "9";
    });
    phone_->SetDialNumber("12345");
    phone_->HookButton();
    Deliver();
    EXPECT_EQ(line_.Last("AutoDialThread"), "AutoDialThread 12345 ext=1 prefix= 1000 160 100 8");
    EXPECT_TRUE(phone_->State().innerLine);
    phone_->HookButton();
    Deliver();
    // Redial takes the inner-line road again.
    line_.calls.clear();
    phone_->RedialButton();
    Deliver();
    EXPECT_EQ(line_.Last("AutoDialThread"), "AutoDialThread 12345 ext=1 prefix= 1000 160 100 8");
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(Phone, InnerLineDialledDuringACallIsATransfer) {
    StartPhone([](PhoneSettings& s) {
        s.IntFlashTime = 300;
        s.IntKeyTime = 180;
    });
    phone_->HookButton();
    Deliver();
    FarEndPresses("0212345678");  // the call to pass on
    line_.calls.clear();
    phone_->SetDialNumber("234");
    phone_->DialInner();
    EXPECT_EQ(line_.calls.front(), "SendFlash 300");
    EXPECT_FALSE(line_.Called("AutoDialThread")) << "the dialler refuses a held line";
    EXPECT_EQ(line_.Count("SendNumber"), 3);
    EXPECT_EQ(line_.Last("SendNumber"), "SendNumber 4 180 8");
    EXPECT_TRUE(phone_->State().innerLine);
}

TEST_F(Phone, RedialDialsTheLastOutsideNumber) {
    StartPhone();
    AddContact("Lee", "0311112222");
    phone_->RedialButton();
    EXPECT_FALSE(line_.Called("AutoDialThread")) << "nothing to redial yet";
    phone_->SetDialNumber("0311112222");
    phone_->HookButton();
    Deliver();
    phone_->HookButton();
    Deliver();
    line_.calls.clear();
    phone_->FilterChar('r');
    Deliver();
    EXPECT_EQ(line_.Last("AutoDialThread"),
              "AutoDialThread 0311112222 ext=0 prefix= 1000 160 100 8");
    phone_->HookButton();
    Deliver();
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].CallNum, "0311112222");
    EXPECT_EQ(rows[1].CallName, "Lee");
}

TEST_F(Phone, RefusedDialShowsTheFailureAndFreesTheButtons) {
    StartPhone();
    line_.autoDialResult = 0;
    phone_->SetDialNumber("0212345678");
    phone_->HookButton();
    Deliver();
    EXPECT_EQ(view_.status, "전화 걸기에 실패했습니다.");
    EXPECT_FALSE(phone_->State().busyGuard);
}

TEST_F(Phone, NumbersOfFiftyCharactersAreDiscarded) {
    StartPhone();
    phone_->SetDialNumber(std::string(50, '1'));
    phone_->HookButton();
    Deliver();
    EXPECT_FALSE(line_.Called("AutoDialThread"));
    EXPECT_EQ(view_.number, "");
}

TEST_F(Phone, PickUpFromIdleAndDuringACall) {
    StartPhone([](PhoneSettings& s) { s.StrReceive = "*8"; });
    phone_->PickUpButton();
    Deliver();
    EXPECT_EQ(line_.Last("AutoDialThread"), "AutoDialThread *8 ext=0 prefix= 1000 160 100 8");
    EXPECT_EQ(phone_->State().call.CallMode, kCallReceived) << "the pick-up code makes it received";
    phone_->HookButton();
    Deliver();

    phone_->HookButton();  // lift, then pick up while in the call
    Deliver();
    line_.calls.clear();
    phone_->PickUpButton();
    EXPECT_EQ(line_.Count("SendNumber"), 2);
    EXPECT_EQ(phone_->State().call.CallMode, kCallReceived);
}

TEST_F(Phone, ReceivedCallsAreRecordedAutomatically) {
    StartPhone([](PhoneSettings& s) {
        s.ModeRecAuto = kRecAutoReceived;
        s.ModeRecCompress = 3;
    });
    Ring("0212345678");
    phone_->HookButton();
    Deliver();
    ASSERT_TRUE(line_.Called("StartRecord"));
    EXPECT_EQ(view_.status, "녹음중입니다.");
    EXPECT_EQ(view_.pictures[kRecordPicture], kBitmapRecording);
    EXPECT_EQ(view_.looks[kRecordButton], "Record");
    Advance(10000);
    phone_->HookButton();
    Deliver();
    CallRecord row = OnlyRow();
    EXPECT_TRUE(row.CallRec);
    EXPECT_EQ(row.CallRecFileName, "090000.vrc");
    EXPECT_EQ(row.CallRecDirectory, (env_.AppHome() / "Record" / "2026-12-08").string() + "/");
    EXPECT_TRUE(fs::exists(row.CallRecDirectory + row.CallRecFileName));
    EXPECT_EQ(view_.pictures[kRecordPicture], kBitmapRecordStopped);
}

TEST_F(Phone, OutgoingRecordingWaitsFiveSecondsAfterTheLastKey) {
    StartPhone([](PhoneSettings& s) { s.ModeRecAuto = kRecAutoOutgoing; });
    phone_->HookButton();
    Deliver();
    phone_->KeypadDigit('0');
    Advance(4000);
    phone_->KeypadDigit('2');
    Advance(4000);
    FarEndPresses("1");  // a digit heard on the line postpones it too
    Advance(4999);
    EXPECT_FALSE(line_.Called("StartRecord"));
    Advance(1);
    EXPECT_TRUE(line_.Called("StartRecord"));
    EXPECT_FALSE(phone_->State().dialRecordArmed);
    EXPECT_FALSE(timers_.IsRunning(kTimerDialRecord));
}

TEST_F(Phone, OutgoingRecordingStartsWhenTheProgramHasDialled) {
    StartPhone([](PhoneSettings& s) { s.ModeRecAuto = kRecAutoOutgoing; });
    phone_->SetDialNumber("0212345678");
    phone_->HookButton();
    Deliver();
    EXPECT_TRUE(line_.Called("StartRecord"));
    phone_->HookButton();
    Deliver();
    EXPECT_TRUE(OnlyRow().CallRec);
}

TEST_F(Phone, RecordButtonRecordsAGreetingOnAnIdleLine) {
    StartPhone([](PhoneSettings& s) { s.ModeRecCompress = 0; });
    phone_->RecordButton();
    EXPECT_EQ(line_.Last("SetHeadSet"), "SetHeadSet 2");
    ASSERT_TRUE(line_.Called("StartRecord"));
    EXPECT_NE(line_.Last("StartRecord").find("090000.wav 0"), std::string::npos);
    Advance(7000);
    phone_->RecordButton();
    Deliver();
    CallRecord row = OnlyRow();
    EXPECT_EQ(row.CallMode, kCallGreeting);
    EXPECT_EQ(row.CallName, "멘트녹음");
    EXPECT_EQ(row.CallTime, 7);
    EXPECT_TRUE(row.CallRec);
    EXPECT_EQ(line_.Last("SetHeadSet"), "SetHeadSet 1");
    EXPECT_EQ(view_.looks[kRecordButton], "Stop");
}

TEST_F(Phone, RecordingIsRefusedWhilePlayingOrWithAbsenceModeOn) {
    StartPhone([](PhoneSettings& s) { s.ModeAbsence = kAbsenceCallerChooses; });
    const std::string greeting = MakeGreeting();
    phone_->MutableSettings().StrAbsenceFile = greeting;
    phone_->ArsButton();
    ASSERT_TRUE(phone_->State().absenceMode);
    phone_->RecordButton();
    EXPECT_EQ(view_.status, "부재중 설정을 해제해 주세요.");
    EXPECT_FALSE(line_.Called("StartRecord"));
}

TEST_F(Phone, PlayIntoTheCallAndItsRefusals) {
    StartPhone();
    const std::string file = MakeGreeting();
    phone_->PlayButton(&file);
    EXPECT_EQ(view_.status, "통화중에만 재생이 가능합니다.");
    line_.plugged = false;
    phone_->PlayButton(&file);
    EXPECT_EQ(view_.status, "장치가 제거되었습니다.");
    line_.plugged = true;
    phone_->HookButton();
    Deliver();
    line_.status |= 0x400;
    phone_->PlayButton(&file);
    EXPECT_EQ(view_.status, "AutoDial중입니다. 다시 시도 해주십시요.");
    line_.status &= ~0x400u;
    line_.status |= 0x40;
    phone_->PlayButton(&file);
    EXPECT_EQ(view_.status, "Recording중입니다.");
    line_.status &= ~0x40u;
    EXPECT_FALSE(line_.Called("WaveOut"));

    view_.callLogPlayState = 2;
    phone_->PlayButton(&file);
    EXPECT_TRUE(view_.Saw("page: stop playback"));
    EXPECT_EQ(line_.Last("WaveOut"), "WaveOut greeting.wav raw=0");
    EXPECT_EQ(view_.status, "재생중입니다.");
    EXPECT_EQ(view_.looks[kPlayButton], "Play");
    EXPECT_TRUE(phone_->State().playing);
    phone_->PlayButton(&file);  // the button now stops
    EXPECT_FALSE(phone_->State().playing);
    EXPECT_EQ(view_.pictures[kPlayPicture], kBitmapPlayStopped);

    const std::string missing = (env_.AppHome() / "none.vrc").string();
    phone_->PlayButton(&missing);
    EXPECT_EQ(view_.status, "재생할 파일을 찾을 수 없습니다.");
}

TEST_F(Phone, PlayIsRefusedWithAbsenceModeOn) {
    StartPhone([](PhoneSettings& s) { s.ModeAbsence = kAbsenceGreetingOnly; });
    const std::string file = MakeGreeting();
    phone_->MutableSettings().StrAbsenceFile = file;
    phone_->ArsButton();
    phone_->HookButton();
    Deliver();
    phone_->PlayButton(&file);
    EXPECT_EQ(view_.status, "부재중 설정을 해제해 주세요.");
}

TEST_F(Phone, DeviceRemovalAndReOpen) {
    StartPhone();
    view_.callLogPlayState = 2;  // the call log page plays to the adapter
    Post(WM_TY_DEVICEREMOVED);
    EXPECT_TRUE(view_.Saw("page: stop playback"));
    EXPECT_EQ(view_.status, "Vantelo Removed!!");
    EXPECT_TRUE(line_.Called("StopService"));
    EXPECT_TRUE(line_.Called("CloseDeviceByIndex"));
    EXPECT_FALSE(phone_->State().deviceOpen);
    EXPECT_EQ(timers_.PeriodOf(kTimerDeviceRetry), kRetryFirstMs);
    line_.plugged = false;
    Advance(500);
    EXPECT_EQ(timers_.PeriodOf(kTimerDeviceRetry), kRetryLaterMs);
    line_.plugged = true;
    Advance(2000);
    EXPECT_EQ(view_.status, "장치가 연결되었습니다.");
    EXPECT_TRUE(phone_->State().deviceOpen);
    EXPECT_FALSE(timers_.IsRunning(kTimerDeviceRetry));
}

TEST_F(Phone, AnAdapterThatCannotBeOpenedSaysWhyInTheStatusLine) {
    line_.plugged = false;
    line_.adapterProblem = "adapter usb:1-4 (1234:5678) cannot be opened: no permission";
    StartPhone();
    EXPECT_EQ(view_.status, line_.adapterProblem);
    line_.adapterProblem = "adapter usb:1-4 (1234:5678) is in use by another program";
    Advance(500);
    EXPECT_EQ(view_.status, line_.adapterProblem) << "each retry tells the latest reason";
    line_.plugged = true;
    Advance(2000);
    EXPECT_EQ(view_.status, "장치가 연결되었습니다.");
}

TEST_F(Phone, StartWithoutAdapterRetriesAndReloadsSettings) {
    line_.plugged = false;
    StartPhone();
    EXPECT_EQ(timers_.PeriodOf(kTimerDeviceRetry), kRetryFirstMs);
    PhoneSettings changed;
    changed.IntKeyTime = 250;
    ASSERT_TRUE(SaveSettings(changed, vt::SettingsFilePath()));
    line_.plugged = true;
    Advance(500);
    EXPECT_EQ(phone_->Settings().IntKeyTime, 250);
    EXPECT_TRUE(fs::exists(env_.AppHome() / "logUserApp.txt"));
}

TEST_F(Phone, CopyDataRequests) {
    StartPhone();
    EXPECT_EQ(phone_->OnCopyData(16, std::string(50, '1')), "number too long");
    EXPECT_FALSE(line_.Called("AutoDialThread"));
    EXPECT_EQ(phone_->OnCopyData(16, std::string("0212345678\0", 11)), "");
    Deliver();
    EXPECT_EQ(line_.Last("AutoDialThread"),
              "AutoDialThread 0212345678 ext=0 prefix= 1000 160 100 8");
    EXPECT_EQ(phone_->OnCopyData(99, "x"), "");
    EXPECT_EQ(phone_->OnCopyData(32, ""), "");
    Deliver();
    EXPECT_FALSE(line_.OffHook());
    EXPECT_EQ(OnlyRow().CallNum, "0212345678");
    EXPECT_EQ(phone_->OnCopyData(32, ""), "");  // idle: nothing
    EXPECT_EQ(line_.Count("HookOn"), 1);
}

TEST_F(Phone, MuteFlashAndVolumeOnlyWhereTheyApply) {
    StartPhone();
    phone_->MuteButton();
    EXPECT_FALSE(line_.Called("ToggleMute"));
    phone_->HookButton();
    Deliver();
    phone_->MuteButton();
    EXPECT_EQ(view_.looks[kMuteButton], "MuteOn");
    phone_->FilterChar('f');
    EXPECT_EQ(line_.Last("SendFlash"), "SendFlash 250");
    phone_->FilterChar('+');
    EXPECT_EQ(line_.Last("VolumeControl"), "VolumeControl 1");
    phone_->HookButton();
    Deliver();
    EXPECT_EQ(view_.looks[kMuteButton], "MuteOff");
    EXPECT_FALSE(phone_->State().mute);
}

TEST_F(Phone, ExitAsksWhileTheLineIsInUse) {
    StartPhone();
    phone_->HookButton();
    Deliver();
    for (char c : std::string("0212345678")) phone_->KeypadDigit(c);
    view_.confirmAnswer = false;
    EXPECT_FALSE(phone_->ExitSequence());
    EXPECT_FALSE(line_.Called("StopService"));
    view_.confirmAnswer = true;
    phone_->MutableSettings().ModeView = 3;
    EXPECT_TRUE(phone_->ExitSequence());
    EXPECT_TRUE(line_.Called("StopService"));
    EXPECT_TRUE(line_.Called("CloseDeviceByIndex"));
    EXPECT_FALSE(line_.OffHook()) << "the line is not left held";
    EXPECT_EQ(OnlyRow().CallNum, "0212345678") << "the call is logged";
    PhoneSettings saved;
    ASSERT_TRUE(LoadSettings(saved));
    EXPECT_EQ(saved.ModeView, 3);
}

TEST_F(Phone, ArsLampLeftOnIsSwitchedOffAtStart) {
    line_.status = 0x8;
    StartPhone();
    EXPECT_EQ(line_.Last("SetARSComm"), "SetARSComm 0");
    EXPECT_FALSE(phone_->State().absenceMode);
}

}  // namespace
}  // namespace vantelo::test

namespace vantelo::test {
namespace {

// The call phase along each road a call takes.
TEST_F(Phone, ThePhaseFollowsEveryRoadOfACall) {
    using P = CallPhase;
    using Step = std::pair<std::function<void()>, P>;
    struct Road {
        const char* name;
        std::function<void()> setUp;
        std::vector<Step> steps;
    };
    auto hook = [this] {
        phone_->HookButton();
        Deliver();
    };
    auto ring = [this] { Ring("0212345678"); };
    const std::vector<Road> roads = {
        {"answered", {}, {{ring, P::Ringing}, {hook, P::InCall}, {hook, P::Idle}}},
        {"missed", {}, {{ring, P::Ringing}, {[this] { RingEnd(); }, P::Idle}}},
        {"dialled by the program",
         {},
         {{[this] {
               phone_->SetDialNumber("0212345678");
               phone_->HookButton();
           },
           P::Dialling},
          {[this] { Deliver(); }, P::InCall},
          {hook, P::Idle}}},
        {"lifted by hand", {}, {{hook, P::InCall}, {hook, P::Idle}}},
        {"the machine answers, the user takes over",
         [this] {
             phone_->MutableSettings().ModeAbsence = kAbsenceCallerChooses;
             phone_->MutableSettings().StrAbsenceFile = MakeGreeting();
             phone_->ArsButton();
         },
         {{ring, P::Ringing},
          {[this] { Advance(5000); }, P::MachineEngaged},
          {[this] { phone_->ArsButton(); }, P::InCall},
          {hook, P::Idle}}},
        {"a greeting from the handset",
         {},
         {{[this] { phone_->RecordButton(); }, P::GreetingRecording},
          {[this] { phone_->RecordButton(); }, P::Idle}}},
        {"the adapter goes mid-call",
         {},
         {{hook, P::InCall},
          {[this] {
               line_.plugged = false;
               Post(WM_TY_DEVICEREMOVED);
           },
           P::Idle}}},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        line_ = ScriptLine{};
        StartPhone();
        ASSERT_EQ(phone_->Phase(), P::Idle);
        if (road.setUp)
            road.setUp();
        int step = 0;
        for (const auto& [action, expected] : road.steps) {
            action();
            EXPECT_EQ(static_cast<int>(phone_->Phase()), static_cast<int>(expected))
                << "step " << step;
            ++step;
        }
    }
}

}  // namespace
}  // namespace vantelo::test
