#include "vantelo/core/PhoneController.h"

#include <cstring>
#include <system_error>

#include "lindev/Messages.h"
#include "storage/DateTimeText.h"
#include "vantelo/core/CleanNumber.h"
#include "vantelo/core/FinishedCall.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/RecordingFiles.h"
#include "vantelo/core/UserLog.h"

namespace vantelo {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The number as the 50-byte buffer of the dialling export holds it.
std::string NumberBuffer(const std::string& number) {
    return number.substr(0, kNumberBufferSize - 1);
}

// Runs its action when the scope ends, whichever way it ends.
template <class Action>
struct AtScopeEnd {
    Action action;
    ~AtScopeEnd() { action(); }
};

// What the journal keeps of the phone's state besides the call record: the
// same facts under the same names on both sides, copied one way when it is
// written and the other way when a held call is taken up.
const std::pair<std::string PhoneState::*, std::string JournalEntry::*> kJournalTexts[] = {
    {&PhoneState::callerNumber, &JournalEntry::callerNumber},
    {&PhoneState::dialledNumber, &JournalEntry::dialledNumber},
    {&PhoneState::lineDigits, &JournalEntry::lineDigits},
};
const std::pair<bool PhoneState::*, bool JournalEntry::*> kJournalFlags[] = {
    {&PhoneState::appDialled, &JournalEntry::appDialled},
    {&PhoneState::innerLine, &JournalEntry::innerLine},
    {&PhoneState::connected, &JournalEntry::connected},
};

bool IsRecordingFile(const std::filesystem::path& file) {
    const std::string ext = file.extension().string();
    return ext == ".wav" || ext == ".vrc";
}

}  // namespace

PhoneController::PhoneController(PhoneLine& line, PhoneView& view, vt::TimerHost& timers,
                                 PhoneStore& store, const vt::Clock& clock, vt::HWND window,
                                 Places places)
    : line_(line),
      view_(view),
      timers_(timers),
      store_(store),
      clock_(clock),
      window_(window),
      places_(std::move(places)),
      machine_(state_, line, view, timers, settings_, *this, places_.appFolder / kPromptFolderName),
      journal_(places_.appFolder) {
    state_.call.Reset(clock_);
}

// --- start, device, exit -----------------------------------------------------

void PhoneController::Start() {
    // The recording folder of the day exists from the start.
    RecordingFolder(clock_, places_.appFolder);
    UserLog::Start(places_.appFolder);
    if (OpenDevice() == 0)
        timers_.Start(kTimerDeviceRetry, kRetryFirstMs);
    const bool open = state_.deviceOpen;
    state_ = PhoneState{};
    state_.deviceOpen = open;
    state_.call.Reset(clock_);
    const unsigned status = line_.GetTYplusState();
    if ((status & kStateGone) != kStateGone && (status & kStateArsLamp))
        line_.SetARSComm(0);
    RecoverCalls();
    RefreshMessages();
    timers_.Start(kTimerMessages, kMessagesLookMs);
}

int PhoneController::OpenDevice() {
    LoadSettings(settings_, places_.settingsFile);
    if (line_.InitializeAllDevice() == 0) {
        // An adapter that is there but cannot be taken says so, and what to
        // do, instead of looking absent.
        const std::string problem = line_.AdapterProblem();
        if (!problem.empty())
            view_.SetStatusText(problem);
        return 0;
    }
    line_.Pause(100);
    if (line_.OpenDeviceByIndex(1) == 0)
        return 0;
    line_.Pause(100);
    if (line_.StartService(window_) < 0)
        return 0;
    state_.deviceOpen = true;
    // End a recording or playback left running by an earlier run, also on a
    // line that run still holds: nobody drains or feeds it any more.
    const unsigned status = line_.GetTYplusState();
    if ((status & kStateGone) != kStateGone) {
        if (status & kStateRecording)
            line_.StopRecord();
        else if (status & kStatePlaying)
            line_.StopWaveOut();
    }
    return 1;
}

void PhoneController::OnRetryTimer() {
    timers_.Stop(kTimerDeviceRetry);
    if (OpenDevice() == 1)
        view_.SetStatusText(text::kDeviceConnected);
    else
        timers_.Start(kTimerDeviceRetry, kRetryLaterMs);
}

bool PhoneController::ExitSequence() {
    AtScopeEnd sync{[this] { SyncJournal(); }};
    if (state_.deviceOpen && line_.IsLineBusy() == 1) {
        if (!view_.Confirm(text::kExitWhileBusy))
            return false;
        // The call ends with the program: the line is released rather than
        // left held by a closed adapter, and the call is logged.
        line_.HookOn();
        OnHookOn();
    }
    if (line_.GetHeadsetLoc() == 2)
        line_.SetHeadSet(1);
    view_.HideWindow();
    line_.StopService();
    line_.CloseDeviceByIndex();
    state_.deviceOpen = false;
    SaveSettingsNow();
    timers_.Stop(kTimerDeviceRetry);
    timers_.Stop(kTimerMessages);
    return true;
}

bool PhoneController::SaveSettingsNow() {
    return SaveSettings(settings_, places_.settingsFile);
}

// --- messages --------------------------------------------------------------

bool PhoneController::OnMessage(vt::UINT message, vt::WPARAM, vt::LPARAM lParam) {
    AtScopeEnd sync{[this] { SyncJournal(); }};
    switch (message) {
        case WM_TY_RINGDETECTED:
            OnRingDetected();
            return true;
        case WM_TY_RINGEND:
            OnRingEnd();
            return true;
        case WM_TY_CIDREDAY:
            OnCallerId();
            return true;
        case WM_TY_DEVICEREMOVED:
            OnDeviceRemoved();
            return true;
        case WM_TY_CODECDONE:
            view_.CodecDone(static_cast<long>(lParam));
            return true;
        case WM_TY_LINENOTIFY:
            if (lParam == 1)
                OnHookOff();
            else if (lParam == 0)
                OnHookOn();
            return true;
        case WM_TY_THREADNOTIFY:
            OnThreadNotify(static_cast<long>(lParam));
            return true;
        case WM_TY_RECEIVE:
            OnReceive();
            return true;
        case WM_TY_GETARS:
            machine_.OnArsKey(lParam == 1);
            return true;
        case WM_TY_DIALTONE:
        case WM_TY_RINGBACKTONE:
            return true;
        case WM_TY_GETDTMF:
            OnLineDigit(static_cast<long>(lParam));
            return true;
        case WM_TY_PLAYPROGRESS:
            view_.PlayProgress(static_cast<long>(lParam));
            return true;
        case WM_TY_BUSY2:
            OnBusyTone();
            return true;
        case WM_TY_RECORDWATCH:
            machine_.OnRecordWatch(static_cast<long>(lParam));
            return true;
        case WM_TY_AUTODIALDONE:
            OnAutoDialDone();
            return true;
        case kPopupClicked:
            if (!LineBusy() && state_.ringing) {
                line_.HookOff();
                view_.ShowWindow();
            }
            return true;
        default:
            return false;
    }
}

void PhoneController::OnTimer(int id) {
    if (id == kTimerJournal) {
        SyncJournal(true);
        return;
    }
    if (id == kTimerMessages) {
        if (store_.HandOverKeptCalls() > 0)
            view_.CallLogged();
        ShowStoreNotice();
        RefreshMessages();
        return;
    }
    AtScopeEnd sync{[this] { SyncJournal(); }};
    if (machine_.OnTimer(id))
        return;
    if (id == kTimerDeviceRetry)
        OnRetryTimer();
    else if (id == kTimerDialRecord)
        OnDialRecordTimer();
    else if (id == kTimerUnknownCaller)
        OnSecondRing();
}

void PhoneController::OnSecondRing() {
    timers_.Stop(kTimerUnknownCaller);
    // Still ringing and still no caller-ID message: an unknown caller.
    if (state_.phase != CallPhase::Ringing || state_.screenedOut || state_.callerIdSeen)
        return;
    const ScreeningDecision decision = store_.Screen({"", false, true}, clock_.NowLocal());
    if (decision.blocked)
        KeepOut(decision.action);
}

std::string PhoneController::OnCopyData(std::uint32_t kind, const std::string& payload) {
    AtScopeEnd sync{[this] { SyncJournal(); }};
    if (kind == 16) {
        const std::string number(payload.c_str());  // up to the first NUL
        if (number.size() > kMaxDialledNumber)
            return text::kNumberTooLong;
        if (!LineBusy()) {
            SetDialNumber(number);
            HookButton();
            view_.ShowWindow();
        }
    } else if (kind == 32) {
        if (LineBusy())
            HookButton();
    }
    return {};
}

void PhoneController::OnRingDetected() {
    if (!state_.ringing && !HoldsLine(state_.phase)) {
        // A missed call is logged with the time its ringing began.
        state_.call.CallDate = clock_.NowLocal();
    }
    if (state_.phase == CallPhase::Idle)
        SetPhase(CallPhase::Ringing);
    if (!state_.callerIdBeforeRing)
        state_.callerNumber.clear();
    state_.callerIdBeforeRing = false;
    view_.SetStatusText(text::kRinging);
    state_.ringing = true;
    watcher_->Rang();
    if (state_.screenedOut)
        return;  // kept out by a caller ID that came before the ring
    if (!state_.callerIdSeen)
        timers_.Start(kTimerUnknownCaller, kSecondRingMs);
    machine_.Arm();
    // A caller ID that came before the ring names the caller at once.
    if (!view_.RingPopupShown())
        view_.ShowRingPopup(state_.callerNumber.empty() ? std::string("Vantelo\n Ring")
                                                        : CallerText());
}

std::string PhoneController::CallerText() const {
    const std::string& name = state_.call.CallName;
    return name.empty() ? state_.callerNumber : name + "\n" + state_.callerNumber;
}

void PhoneController::OnRingEnd() {
    timers_.Stop(kTimerUnknownCaller);
    state_.ringing = false;
    view_.CloseRingPopup();
    if (state_.phase == CallPhase::Ringing)
        SetPhase(CallPhase::Idle);
    if (!LineBusy()) {
        watcher_->RingingStopped(false);
        machine_.OnRingEnd();
        state_.call.CallMode = kCallMissed;
        WriteCallLog();
        state_.callerIdBeforeRing = false;
        state_.screenedOut = false;
        state_.callerIdSeen = false;
    }
}

void PhoneController::OnCallerId() {
    std::string record = line_.GetCIDData();
    record = record.c_str();  // the text up to its NUL
    state_.callerNumber = record.size() > 9 ? record.substr(9) : std::string();
    state_.callerIdBeforeRing = !state_.ringing && !HoldsLine(state_.phase);
    state_.call.CallNum = state_.callerNumber;
    std::string shown;
    state_.callerIdSeen = true;
    timers_.Stop(kTimerUnknownCaller);
    if (!HoldsLine(state_.phase) && !state_.screenedOut)
        ScreenCaller();
    CallerName caller;
    if (!state_.callerNumber.empty()) {
        caller = store_.IdentifyCaller(state_.callerNumber, settings_.StrExt);
        state_.call.CallName = caller.name;
        shown = CallerText();
        view_.SetNumberText(shown);
    }
    if (view_.RingPopupShown() && !state_.screenedOut)
        view_.ShowRingPopup(shown);
    if (!state_.callerNumber.empty() && !state_.screenedOut)
        view_.CallerIdentified(state_.callerNumber, caller);
    watcher_->CallerIdArrived(state_.callerNumber, caller.name, state_.screenedOut);
    // Asked after everything is shown: the answer never holds the ring back.
    asked_.reset();
    if (directory_ && !state_.callerNumber.empty() && caller.name.empty() && !state_.screenedOut) {
        asked_ = DirectoryAsk{state_.callerNumber};
        directory_->Ask(state_.callerNumber);
    }
}

void PhoneController::DirectoryAnswered(const std::string& number, const std::string& name) {
    if (name.empty() || !asked_ || asked_->number != number)
        return;
    if (asked_->loggedCall != 0) {
        if (store_.NameLoggedCall(asked_->loggedCall, number, name))
            view_.CallLogged();
        asked_.reset();
        return;
    }
    if (state_.call.CallNum != number || !state_.call.CallName.empty())
        return;
    state_.call.CallName = name;
    SyncJournal();
    if (state_.callerNumber != number)
        return;
    const std::string shown = CallerText();
    view_.SetNumberText(shown);
    if (view_.RingPopupShown())
        view_.ShowRingPopup(shown);
}

void PhoneController::ScreenCaller() {
    // A caller-ID message without a number is a withheld caller.
    const ScreenedCaller who{state_.callerNumber, state_.callerNumber.empty(), false};
    const ScreeningDecision decision = store_.Screen(who, clock_.NowLocal());
    if (decision.blocked)
        KeepOut(decision.action);
}

void PhoneController::KeepOut(BlockAction action) {
    state_.screenedOut = true;
    state_.screenAction = action;
    timers_.Stop(kTimerAutoAnswer);
    view_.CloseRingPopup();
    if (action != BlockAction::Ignore)
        line_.HookOff();  // answered to be released (after the prompt)
}

void PhoneController::OnDeviceRemoved() {
    EndCallWithoutLine();
    if (state_.recording) {
        line_.StopRecord();
        state_.recording = false;
    }
    // The call log page would otherwise stay "playing" a file the adapter
    // no longer plays.
    if (view_.CallLogPlayState() != 0)
        view_.StopCallLogPlayback();
    if (state_.playing) {
        line_.StopWaveOut();
        state_.playing = false;
    }
    view_.SetStatusText(text::kDeviceRemoved);
    line_.StopService();
    line_.CloseDeviceByIndex();
    state_.deviceOpen = false;
    timers_.Start(kTimerDeviceRetry, kRetryFirstMs);
}

void PhoneController::EndCallWithoutLine() {
    if (takeUp_) {
        // The held call found at start never came back: it ends here.
        const JournalEntry entry = *takeUp_;
        takeUp_.reset();
        if (LogInterruptedCall(entry))
            journal_.Remove();
        else
            journal_.SetAside(clock_);
    }
    for (int timer : {kTimerAutoAnswer, kTimerDialRecord}) timers_.Stop(timer);
    if (HoldsLine(state_.phase)) {
        // No hook message will come from an adapter that is gone: the call
        // ends now, with its recording finished and its row written.
        OnHookOn();
    } else if (state_.recording && state_.call.CallMode == kCallGreeting) {
        ToggleRecording();
    } else if (state_.ringing) {
        OnRingEnd();
    }
    state_.engaged = false;
    state_.absenceLevel = kLevelIdle;
    SetPhase(CallPhase::Idle);
    for (int timer : {kTimerMessageLimit, kTimerCallerTimeOut}) timers_.Stop(timer);
}

void PhoneController::OnHookOff() {
    SetPhase(state_.engaged                        ? CallPhase::MachineEngaged
             : state_.phase == CallPhase::Dialling ? CallPhase::Dialling
                                                   : CallPhase::InCall);
    state_.dialRecordArmed = true;
    if (state_.recording)
        ToggleRecording();
    StopPlaybackIfAny();
    RestoreTelMode();
    state_.connected = false;
    if (state_.ringing)
        watcher_->RingingStopped(true);
    // The caller named while ringing stays known to the call (and its journal).
    const std::string callerName = state_.ringing ? state_.call.CallName : std::string();
    ResetCall();
    if (state_.ringing) {
        state_.call.CallMode = kCallReceived;
        state_.call.CallNum = state_.callerNumber;
        state_.call.CallName = callerName;
    } else if (!settings_.StrReceive.empty() && state_.dialledNumber == settings_.StrReceive)
        state_.call.CallMode = kCallReceived;
    else
        state_.call.CallMode = kCallOutgoing;
    view_.SetPicture(kHookPicture, kBitmapOffHook);
    view_.SetButtonLook(kHookButton, "HookOff");
    view_.SetStatusText(text::kInCall);
    view_.CloseRingPopup();
    if (takeUp_) {
        const JournalEntry entry = *takeUp_;
        takeUp_.reset();
        TakeUpCall(entry);
    } else if (state_.screenedOut) {
        // Answered only to be released: with the screening prompt first
        // when the rule says so and the prompt is there.
        const auto prompt = machine_.PromptPath(kScreeningPromptFile).string();
        const bool greet = state_.screenAction == BlockAction::Greeting;
        if (greet && line_.WaveOut(prompt, 0, 0) != 0)
            state_.playing = true;
        else
            line_.HookOn();
    } else if (state_.engaged) {
        machine_.StartGreeting();
    } else if (state_.call.CallMode == kCallReceived &&
               (settings_.ModeRecAuto & kRecAutoReceived) && !state_.recording) {
        ToggleRecording();
    }
    state_.busyGuard = false;
}

void PhoneController::OnHookOn() {
    // A repeated hook-on (as after a re-plug) is no call.
    if (!HoldsLine(state_.phase))
        return;
    SetPhase(CallPhase::Idle);
    if (state_.recording)
        ToggleRecording();
    StopPlaybackIfAny();
    RestoreTelMode();
    WriteCallLog();
    watcher_->HungUp();
    ShowIdle();
    if (state_.engaged)
        machine_.OnHangUp();
    state_.engaged = false;
    state_.absenceLevel = kLevelIdle;
    if (state_.ringing) {
        state_.ringing = false;
        view_.CloseRingPopup();
    }
    state_.screenedOut = false;
    state_.callerIdSeen = false;
    timers_.Stop(kTimerUnknownCaller);
    ClearNumber();
    state_.busyGuard = false;
}

void PhoneController::ShowIdle() {
    state_.mute = false;
    view_.SetButtonLook(kMuteButton, "MuteOff");
    view_.SetStatusText("");
    view_.SetNumberText("");
    view_.SetPicture(kHookPicture, kBitmapOnHook);
    view_.SetButtonLook(kHookButton, "HookOn");
}

void PhoneController::OnReceive() {
    view_.SetStatusText(text::kConnected);
    state_.connected = true;
    if (state_.call.CallMode == kCallOutgoing) {
        if (state_.dialledNumber.empty())
            state_.dialledNumber = state_.lineDigits;
        state_.lineDigits.clear();
    }
}

void PhoneController::OnBusyTone() {
    if (state_.engaged)
        machine_.OnBusyTone();
    else
        view_.SetStatusText(text::kFarEndBusy);
}

void PhoneController::OnLineDigit(long code) {
    const char digit = usbline::protocol::KeyOfDigitCode(static_cast<int>(code));
    if (digit == 0)
        return;
    state_.lineDigits.push_back(digit);
    RestartDialRecordTimer();
    if (state_.engaged)
        machine_.OnDigit(digit);
}

void PhoneController::OnThreadNotify(long what) {
    if (what != 0) {
        ShowRecordingStopped();
        return;
    }
    view_.SetButtonLook(kPlayButton, "Stop");
    state_.playing = false;
    view_.SetPicture(kPlayPicture, kBitmapPlayStopped);
    if (state_.screenedOut) {
        line_.HookOn();  // the screening prompt has been heard
    } else if (state_.engaged) {
        line_.Pause(50);
        machine_.OnPlaybackEnded();
    } else if (view_.CallLogPlayState() != 0) {
        view_.StopCallLogPlayback();
    }
}

void PhoneController::OnAutoDialDone() {
    if (state_.phase == CallPhase::Dialling)
        SetPhase(LineBusy() ? CallPhase::InCall : CallPhase::Idle);
    if ((settings_.ModeRecAuto & kRecAutoOutgoing) && LineBusy() && !state_.recording)
        ToggleRecording();
}

void PhoneController::OnDialRecordTimer() {
    timers_.Stop(kTimerDialRecord);
    state_.dialRecordArmed = false;
    if (LineBusy() && !state_.recording)
        ToggleRecording();
}

// --- buttons and keys --------------------------------------------------------

void PhoneController::SetDialNumber(const std::string& text) {
    state_.dialledNumber = CleanNumber(text);
    view_.SetNumberText(state_.dialledNumber);
}

void PhoneController::HookButton() {
    AtScopeEnd sync{[this] { SyncJournal(); }};
    state_.busyGuard = true;
    if (LineBusy()) {
        if (line_.GetTYplusState() & kStateAutoDial) {
            state_.busyGuard = false;  // nothing runs, so nothing may stay guarded
            return;
        }
        if (state_.recording)
            StopRecording();
        StopPlaybackIfAny();
        line_.HookOn();
        return;
    }
    const unsigned status = line_.GetTYplusState();
    if (InUse(status) || state_.playing || state_.recording) {
        if (state_.recording)
            ToggleRecording();
        if (state_.playing) {
            if (view_.CallLogPlayState() != 0)
                view_.StopCallLogPlayback();
            else
                line_.StopWaveOut();
        }
        state_.playing = false;
    }
    if (line_.GetHeadsetLoc() == 2) {
        if (state_.call.CallMode == kCallGreeting && state_.recording)
            ToggleRecording();
        line_.SetHeadSet(1);
    }
    if (state_.ringing) {
        line_.HookOff();
        state_.busyGuard = false;
        return;
    }
    if (state_.dialledNumber.empty()) {
        line_.HookOff();
        return;
    }
    if (CleanNumber(state_.dialledNumber).size() > kMaxDialledNumber) {
        // Longer than the dialler takes: discarded, so the next press lifts
        // the line instead of failing again.
        state_.dialledNumber.clear();
        view_.SetNumberText("");
        state_.busyGuard = false;
        return;
    }
    std::string number = CleanNumber(state_.dialledNumber);
    if (settings_.IsLocal && StartsWith(number, settings_.StrLocal))
        number.erase(0, settings_.StrLocal.size());
    if (number.size() > 5)
        DialOutside(number);
    else
        DialInner();
    state_.appDialled = true;
}

void PhoneController::DialOutside(const std::string& number) {
    const std::string buffer = NumberBuffer(number);
    const std::string prefix =
        (!settings_.StrExt.empty() && settings_.IsExt) ? settings_.StrExt : std::string();
    if (line_.AutoDialThread(buffer.c_str(), settings_.IsExt, prefix.c_str(), settings_.IntExtDelay,
                             settings_.IntKeyTime, settings_.IntKeyDelay,
                             settings_.ToneLevel) == 0) {
        view_.SetStatusText(text::kDialFailed);
        state_.busyGuard = false;  // no hook message will come to clear it
        ClearNumber();             // the next press lifts the line
        return;
    }
    SetPhase(CallPhase::Dialling);
}

void PhoneController::DialInner() {
    if (state_.ringing) {
        line_.HookOff();
        return;
    }
    const bool transfer = LineBusy();
    if (transfer) {
        line_.SendFlash(settings_.IntFlashTime);
        line_.Pause(static_cast<unsigned>(std::max(0, settings_.IntFlashDelay)));
    }
    SetDialNumber(state_.dialledNumber);
    if (state_.dialledNumber.empty())
        return;
    const std::string buffer = NumberBuffer(CleanNumber(state_.dialledNumber));
    if (transfer) {
        // The automatic dialler refuses a line that is already held, so the
        // transfer's digits go out one by one on the held line.
        for (char digit : buffer) {
            line_.SendNumber(digit, settings_.IntKeyTime, settings_.ToneLevel);
            line_.Pause(static_cast<unsigned>(std::max(0, settings_.IntKeyDelay)));
        }
    } else if (line_.AutoDialThread(buffer.c_str(), settings_.IsExt, "", settings_.IntExtDelay,
                                    settings_.IntKeyTime, settings_.IntKeyDelay,
                                    settings_.ToneLevel) == 0) {
        view_.SetStatusText(text::kDialFailed);
        state_.busyGuard = false;
        ClearNumber();
        return;
    }
    if (!transfer)
        SetPhase(CallPhase::Dialling);
    state_.innerLine = true;
}

void PhoneController::SetCallName(const std::string& name) {
    state_.call.CallName = name;
    SyncJournal();
}

std::string PhoneController::LookupName(const std::string& number) {
    return store_.LookupName(number, settings_.StrExt);
}

void PhoneController::ToggleRecording() {
    AtScopeEnd sync{[this] { SyncJournal(); }};
    if (state_.playing) {
        view_.SetStatusText(text::kPlaying);
        return;
    }
    state_.busyGuard = true;
    if (state_.recording) {
        if (state_.call.CallMode != kCallGreeting) {
            StopRecording();
            state_.busyGuard = false;
            return;
        }
        line_.StopRecord();
        FinishGreeting(state_.call, clock_, settings_.ModeRecCompress);
        state_.recording = false;
        SetPhase(CallPhase::Idle);  // the greeting is over for the journal
        if (!LogCall(state_.call))
            ResetCall();
        line_.SetHeadSet(1);
        ShowRecordingStopped();
        state_.busyGuard = false;
        return;
    }
    line_.Pause(30);
    if (state_.absenceMode && state_.absenceLevel != kLevelPrompt1) {
        view_.SetStatusText(text::kAbsenceOnRefusal);
        state_.busyGuard = false;
        return;
    }
    const bool greeting = !(line_.GetTYplusState() & kStateOffHook);
    if (greeting) {
        BeginGreeting(state_.call, clock_);
        line_.SetHeadSet(2);
        SetPhase(CallPhase::GreetingRecording);
    }
    StartRecording(settings_.ModeRecCompress, greeting);
    state_.busyGuard = false;
}

void PhoneController::StopRecording() {
    const bool message = machine_.RecordingMessage();
    line_.StopRecord();
    // The file is finished once the line library has stopped.
    if (message)
        machine_.KeepMessage();
    ShowRecordingStopped();
}

void PhoneController::StartRecording(int compressMode, bool greeting) {
    state_.recording = true;
    const std::string folder = RecordingFolder(clock_, places_.appFolder);
    const std::string file = RecordingFileName(clock_, compressMode);
    NoteRecordingStarted(state_.call, folder, file);
    // The journal names the file before the adapter writes into it.
    SyncJournal();
    if (line_.StartRecord(folder + file, 0, compressMode) != 0) {
        view_.SetStatusText(text::kRecording);
        view_.SetPicture(kRecordPicture, kBitmapRecording);
        view_.SetButtonLook(kRecordButton, "Record");
    } else {
        state_.recording = false;
        // The handset goes back to the line when no greeting is recorded.
        if (greeting) {
            line_.SetHeadSet(1);
            SetPhase(CallPhase::Idle);
        }
    }
}

void PhoneController::KeypadDigit(char digit) {
    AtScopeEnd sync{[this] { SyncJournal(); }};
    AppendDigit(digit);
    if (LineBusy())
        line_.SendNumber(digit, settings_.IntKeyTime, settings_.ToneLevel);
}

void PhoneController::RedialButton() {
    if (state_.lastNumber.empty())
        return;
    const std::string last = state_.lastNumber;
    state_.dialledNumber = last;
    if (state_.lastInner)
        DialInner();
    else
        HookButton();
    SetCallName(LookupName(last));
}

void PhoneController::FlashButton() {
    view_.SetStatusText("");
    if (LineBusy())
        line_.SendFlash(settings_.IntFlashTime);
}

void PhoneController::PickUpButton() {
    AtScopeEnd sync{[this] { SyncJournal(); }};
    if (settings_.StrReceive.empty())
        return;
    if (LineBusy()) {
        for (char c : settings_.StrReceive) {
            AppendDigit(c);
            line_.SendNumber(c, settings_.IntKeyTime, settings_.ToneLevel);
            line_.Pause(30);
        }
        state_.call.CallMode = kCallReceived;
    } else {
        state_.dialledNumber = settings_.StrReceive;
        DialInner();
    }
}

void PhoneController::MuteButton() {
    if (!LineBusy())
        return;
    state_.mute = !state_.mute;
    view_.SetButtonLook(kMuteButton, state_.mute ? "MuteOn" : "MuteOff");
    line_.ToggleMute();
}

void PhoneController::SaveMemoButton() {
    view_.SaveMemo(view_.MemoText());
}

void PhoneController::PlayButton(const std::string* file) {
    if (state_.busyGuard)
        return;
    const unsigned status = line_.GetTYplusState();
    const char* refusal = nullptr;
    if ((status & kStateGone) == kStateGone)
        refusal = text::kPlayNoDevice;
    else if (!(status & kStateOffHook))
        refusal = text::kPlayOnlyInCall;
    else if (status & kStateAutoDial)
        refusal = text::kPlayAutoDial;
    else if (status & kStateRecording)
        refusal = text::kPlayRecording;
    else if (state_.absenceMode)
        refusal = text::kAbsenceOnRefusal;
    if (refusal) {
        view_.SetStatusText(refusal);
        return;
    }
    if (view_.CallLogDecoding())
        return;
    if (view_.CallLogPlayState() != 0)
        view_.StopCallLogPlayback();
    if (state_.playing) {
        view_.SetPicture(kPlayPicture, kBitmapPlayStopped);
        view_.SetButtonLook(kPlayButton, "Stop");
        line_.StopWaveOut();
        state_.playing = false;
        return;
    }
    if (status & kStatePlaying) {
        line_.StopWaveOut();
        line_.Pause(50);
    }
    std::string path;
    if (file) {
        path = *file;
    } else if (auto chosen = view_.ChooseSoundFile()) {
        path = *chosen;
    } else {
        return;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        view_.SetStatusText(text::kPlayFileMissing);
        return;
    }
    if (line_.GetTYplusState() & kStatePlaying)
        return;
    if (line_.WaveOut(path, 0, AnsweringMachine::RawFlagFor(path)) != 0) {
        view_.SetButtonLook(kPlayButton, "Play");
        view_.SetStatusText(text::kPlaying);
        view_.SetPicture(kPlayPicture, kBitmapPlaying);
        state_.playing = true;
    }
}

void PhoneController::ArsButton() {
    machine_.ArsButton();
    SyncJournal();
}

void PhoneController::RecordButton() {
    if (state_.busyGuard)
        return;
    if (state_.dialRecordArmed) {
        timers_.Stop(kTimerDialRecord);
        state_.dialRecordArmed = false;
    }
    ToggleRecording();
}

void PhoneController::ClearNumber() {
    state_.appDialled = false;
    state_.innerLine = false;
    state_.dialledNumber.clear();
    state_.lineDigits.clear();
    view_.SetNumberText("");
}

void PhoneController::FilterChar(char c) {
    if ((c >= '0' && c <= '9') || c == '*' || c == '#') {
        KeypadDigit(c);
    } else if (c == '+' || c == '-') {
        line_.VolumeControl(c == '+' ? 1 : 0);
    } else if (c == '.') {
        if (LineBusy())
            FlashButton();
        else
            ClearNumber();
    } else if (c == 'F' || c == 'f') {
        FlashButton();
    } else if (c == 'R' || c == 'r') {
        RedialButton();
    }
}

void PhoneController::FilterKey(Key key) {
    switch (key) {
        case Key::Backspace:
            if (!state_.dialledNumber.empty())
                state_.dialledNumber.pop_back();
            SetDialNumber(state_.dialledNumber);
            break;
        case Key::Paste:
            SetDialNumber(view_.ClipboardText());
            break;
        case Key::Enter:
            HookButton();
            break;
        case Key::Escape:
            view_.HideWindow();
            break;
        case Key::Delete:
            ClearNumber();
            break;
    }
}

// --- helpers -------------------------------------------------------------------

bool PhoneController::LineBusy() {
    return line_.IsLineBusy() == 1;
}

bool PhoneController::InUse(unsigned status) const {
    return (status & kStateGone) != kStateGone && (status & (kStatePlaying | kStateRecording));
}

void PhoneController::StopPlaybackIfAny() {
    const unsigned status = line_.GetTYplusState();
    const bool bitSays = (status & kStateGone) != kStateGone && (status & kStatePlaying);
    if (state_.playing || bitSays)
        line_.StopWaveOut();
    state_.playing = false;
}

void PhoneController::RestoreTelMode() {
    if (line_.GetHeadsetLoc() == 2)
        line_.SetHeadSet(1);
}

void PhoneController::ShowRecordingStopped() {
    state_.recording = false;
    view_.SetPicture(kRecordPicture, kBitmapRecordStopped);
    view_.SetButtonLook(kRecordButton, "Stop");
}

void PhoneController::RestartDialRecordTimer() {
    if (state_.call.CallMode == kCallOutgoing && (settings_.ModeRecAuto & kRecAutoOutgoing) &&
        state_.dialRecordArmed)
        timers_.Start(kTimerDialRecord, kDialRecordDelayMs);
}

void PhoneController::AppendDigit(char digit) {
    state_.dialledNumber.push_back(digit);
    view_.SetNumberText(state_.dialledNumber);
    RestartDialRecordTimer();
}

void PhoneController::ResetCall() {
    state_.call.Reset(clock_);
}

void PhoneController::WriteCallLog() {
    JoinTakenUpRecording();
    CallRecord& call = state_.call;
    if (state_.screenedOut)
        call.CallMode = kCallBlocked;
    const bool outgoing = call.CallMode == kCallOutgoing;
    const FinishedCall decided =
        DecideFinishedCall({call.CallMode, state_.dialledNumber, state_.lineDigits,
                            state_.callerNumber, state_.appDialled, state_.innerLine},
                           {settings_.IsExt != 0, settings_.StrExt, settings_.StrReceive});
    if (!decided.logged)
        return;  // lifted and put down without a number: no call
    call.CallMode = decided.mode;
    call.CallNum = decided.number;
    if (decided.setDtmf)
        call.CallDtmf = decided.dtmf;
    if (decided.setInner)
        call.CallbInner = decided.inner;
    state_.innerLine = decided.innerLine;
    if (call.CallName.empty())
        call.CallName = LookupName(call.CallNum);
    call.CallCompressMode = settings_.ModeRecCompress;
    call.CallTime = call.CallMode == kCallMissed || call.CallMode == kCallBlocked
                        ? 0
                        : SecondsSince(call, clock_);
    if (outgoing) {
        state_.lastNumber = call.CallNum;
        state_.lastInner = state_.innerLine;
    }
    if (!LogCall(call))
        ResetCall();
}

bool PhoneController::LogCall(CallRecord& call) {
    std::string error;
    const bool askedCall = asked_ && asked_->loggedCall == 0 && call.CallNum == asked_->number &&
                           call.CallName.empty();
    if (store_.AppendCall(call, error)) {
        if (askedCall)
            asked_->loggedCall = store_.LastAppendedCall();
        if (!takeUp_)
            journal_.Remove();
        view_.CallLogged();
        ShowStoreNotice();
        RefreshMessages();
        return true;
    }
    // Kept aside for the next start: the call is not lost with the row.
    JournalEntry kept = CurrentEntry();
    kept.call = call;
    kept.finished = true;
    kept.lastAlive = clock_.NowLocal();
    if (journal_.Write(kept) && journal_.SetAside(clock_))
        journalActive_ = false;
    view_.MessageBox(std::string(text::kCallLogFailed) + "\n" + error);
    return false;
}

void PhoneController::ShowStoreNotice() {
    const std::string notice = store_.TakeNotice();
    if (!notice.empty())
        view_.SetStatusText(notice);
}

void PhoneController::RefreshMessages() {
    const std::vector<long long> arrived = store_.TakeArrivedMessages();
    if (arrived.empty() && shownMessages_ >= 0 && !store_.MessagesMayHaveChanged())
        return;
    const auto messages = store_.NewMessages();
    if (!messages)
        return;  // unreadable now: the count shown stays until the next look
    for (long long id : arrived)
        for (const NewMessage& m : *messages)
            if (m.callId == id)
                view_.MessageArrived(m);
    const int count = static_cast<int>(messages->size());
    if (count != shownMessages_) {
        shownMessages_ = count;
        view_.NewMessagesChanged(count);
        watcher_->NewMessagesChanged(count);
    }
}

// --- the journal of the call in progress ----------------------------------------

bool PhoneController::CallInProgress() const {
    return HoldsLine(state_.phase) || state_.phase == CallPhase::GreetingRecording;
}

JournalEntry PhoneController::CurrentEntry() const {
    JournalEntry e;
    e.call = state_.call;
    e.call.CallCompressMode = settings_.ModeRecCompress;
    for (const auto& [inState, inEntry] : kJournalTexts) e.*inEntry = state_.*inState;
    for (const auto& [inState, inEntry] : kJournalFlags) e.*inEntry = state_.*inState;
    e.recording = state_.recording;
    e.engaged = state_.engaged;
    e.absenceLevel = state_.absenceLevel;
    return e;
}

void PhoneController::SyncJournal(bool alive) {
    if (takeUp_)
        return;  // the held call's journal stays until its hook message
    if (!CallInProgress()) {
        if (journalActive_) {
            journal_.Remove();
            journalActive_ = false;
            timers_.Stop(kTimerJournal);
        }
        return;
    }
    JournalEntry entry = CurrentEntry();
    std::string key = entry.Text();
    if (!journalActive_ || alive || key != journalKey_) {
        lastAlive_ = clock_.NowLocal();
        journalKey_ = std::move(key);
    }
    entry.lastAlive = lastAlive_;
    if (!journalActive_) {
        journalActive_ = true;
        timers_.Start(kTimerJournal, kJournalAliveMs);
    }
    if (!journal_.Write(entry))
        UserLog::Append(places_.appFolder, "call journal not written: " + journal_.File().string());
}

void PhoneController::RecoverCalls() {
    for (const auto& file : journal_.SetAsideFiles()) {
        const auto entry = CallJournal::ReadFile(file);
        if (!entry) {
            UserLog::Append(places_.appFolder, "unreadable call journal kept: " + file.string());
            continue;
        }
        std::error_code ec;
        if (LogInterruptedCall(*entry))
            std::filesystem::remove(file, ec);
    }
    if (!journal_.Exists())
        return;
    const auto entry = journal_.Read();
    if (!entry) {
        UserLog::Append(places_.appFolder,
                        "unreadable call journal set aside: " + journal_.File().string());
        journal_.SetAside(clock_);
        return;
    }
    const unsigned status = line_.GetTYplusState();
    const bool held = state_.deviceOpen && (status & kStateGone) != kStateGone &&
                      (status & kStateOffHook) && !entry->finished;
    if (held) {
        // A person may still be talking on it: the first poll of the line
        // reports the held hook, and that message takes the call up.
        takeUp_ = *entry;
        return;
    }
    if (LogInterruptedCall(*entry))
        journal_.Remove();
    else
        journal_.SetAside(clock_);
}

bool PhoneController::LogInterruptedCall(const JournalEntry& entry) {
    CallRecord call = entry.call;
    if (!entry.finished) {
        if (call.CallMode == kCallOutgoing) {
            if (call.CallNum.empty())
                call.CallNum =
                    !entry.dialledNumber.empty() ? entry.dialledNumber : entry.lineDigits;
        } else if (call.CallMode != kCallGreeting) {
            call.CallNum = entry.callerNumber;
            call.CallDtmf = entry.lineDigits;
        }
        if (call.CallMode == kCallGreeting)
            call.CallName = kGreetingCallName;
        else if (call.CallName.empty() && !call.CallNum.empty())
            call.CallName = LookupName(call.CallNum);
        call.CallTime = call.CallMode == kCallMissed ? 0 : InterruptedCallSeconds(entry);
    }
    const std::filesystem::path recording =
        std::filesystem::path(call.CallRecDirectory) / call.CallRecFileName;
    std::error_code ec;
    if (call.CallRec && !std::filesystem::is_regular_file(recording, ec)) {
        call.CallRec = false;  // no row points at a recording that is not there
        call.CallRecDirectory.clear();
        call.CallRecFileName.clear();
    } else if (call.CallRec && recording.extension() == ".wav") {
        MendWavLengths(recording);
    }
    if (call.CallMode == kCallOutgoing && call.CallNum.empty() && !call.CallRec)
        return true;  // lifted and put down without a number: no call
    std::string error;
    if (!store_.AppendCall(call, error)) {
        UserLog::Append(places_.appFolder, "interrupted call not logged yet: " + error);
        return false;
    }
    UserLog::Append(places_.appFolder, std::string(text::kCallRecovered) + " " +
                                           storage::FormatDateTime(entry.call.CallDate) + " " +
                                           entry.call.CallNum);
    view_.SetStatusText(text::kCallRecovered);
    view_.CallLogged();
    RefreshMessages();
    if (!entry.call.CallRecDirectory.empty())
        ReportUnnamedRecordings(entry.call.CallRecDirectory);
    return true;
}

void PhoneController::ReportUnnamedRecordings(const std::string& folder) {
    const auto named = store_.RecordingsNamedIn(folder);
    if (!named)
        return;
    std::error_code ec;
    bool any = false;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = item.path().filename().string();
        if (item.is_regular_file(ec) && !item.is_symlink(ec) && IsRecordingFile(item.path()) &&
            !named->count(name)) {
            UserLog::Append(places_.appFolder,
                            std::string(text::kRecordingsUnnamed) + " " + item.path().string());
            any = true;
        }
    }
    if (any)
        view_.SetStatusText(text::kRecordingsUnnamed);
}

void PhoneController::TakeUpCall(const JournalEntry& entry) {
    state_.call = entry.call;
    for (const auto& [inState, inEntry] : kJournalTexts) state_.*inState = entry.*inEntry;
    for (const auto& [inState, inEntry] : kJournalFlags) state_.*inState = entry.*inEntry;
    state_.dialRecordArmed = false;
    view_.SetNumberText(state_.call.CallMode == kCallOutgoing ? state_.dialledNumber
                                                              : CallerText());
    UserLog::Append(places_.appFolder,
                    "held call taken up: " + storage::FormatDateTime(entry.call.CallDate) + " " +
                        entry.callerNumber + entry.dialledNumber);
    if (entry.recording) {
        // The rest of the call goes into a file of its own, in the first
        // part's format, and joins it when the call ends.
        if (entry.call.CallRec) {
            firstPart_ = entry.call.CallRecDirectory + entry.call.CallRecFileName;
            if (std::filesystem::path(firstPart_).extension() == ".wav")
                MendWavLengths(firstPart_);
        }
        const bool wav = std::filesystem::path(firstPart_).extension() == ".wav";
        StartRecording(firstPart_.empty() ? settings_.ModeRecCompress
                       : wav              ? 0
                                          : std::max(1, entry.call.CallCompressMode),
                       false);
    }
    if (!entry.engaged)
        return;
    // An unattended box never keeps the line: the machine's own time-outs
    // end the call.
    state_.engaged = true;
    SetPhase(CallPhase::MachineEngaged);
    view_.SetPicture(kMachinePicture, kBitmapEngaged);
    if (entry.absenceLevel == kLevelPrompt1 && state_.recording) {
        state_.absenceLevel = kLevelPrompt1;
        timers_.Start(kTimerMessageLimit,
                      static_cast<unsigned>(std::max(0, settings_.IntAbsenceMaxMessage)) * 1000);
    } else {
        state_.absenceLevel = kLevelWaitingForKey;
        timers_.Start(kTimerCallerTimeOut,
                      static_cast<unsigned>(std::max(0, settings_.IntAbsenceTimeOut)));
    }
}

void PhoneController::JoinTakenUpRecording() {
    if (firstPart_.empty())
        return;
    const std::filesystem::path first = firstPart_;
    firstPart_.clear();
    CallRecord& call = state_.call;
    const std::filesystem::path rest = call.CallRecDirectory + call.CallRecFileName;
    if (call.CallRec && rest != first && !JoinRecordings(first, rest)) {
        UserLog::Append(places_.appFolder,
                        std::string(text::kRecordingsUnnamed) + " " + rest.string());
        view_.SetStatusText(text::kRecordingsUnnamed);
    }
    call.CallRec = true;
    call.CallRecDirectory = first.parent_path().string() + "/";
    call.CallRecFileName = first.filename().string();
}

void PhoneController::MachineTakesCall() {
    state_.engaged = true;
}

void PhoneController::UserTakesCall() {
    SetPhase(CallPhase::InCall);
}

}  // namespace vantelo
