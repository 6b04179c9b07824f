#include "vantelo/core/AnsweringMachine.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "lindev/Messages.h"
#include "vantelo/core/CallJournal.h"
#include "vantelo/core/PhoneIds.h"

namespace vantelo {

AnsweringMachine::AnsweringMachine(PhoneState& state, PhoneLine& line, PhoneView& view,
                                   vt::TimerHost& timers, const PhoneSettings& settings, Host& host,
                                   std::filesystem::path promptFolder)
    : state_(state),
      line_(line),
      view_(view),
      timers_(timers),
      settings_(settings),
      host_(host),
      promptFolder_(std::move(promptFolder)) {}

std::string AnsweringMachine::GreetingFile() const {
    if (!settings_.StrAbsenceFile.empty())
        return settings_.StrAbsenceFile;
    std::error_code ec;
    const auto fallback = PromptPath(kDefaultGreetingFile);
    return std::filesystem::is_regular_file(fallback, ec) ? fallback.string() : std::string();
}

int AnsweringMachine::RawFlagFor(const std::string& path) {
    if (path.size() < 3)
        return 0;
    std::string tail = path.substr(path.size() - 3);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == "vrc" ? 1 : 0;
}

void AnsweringMachine::ArsButton() {
    if (!state_.absenceMode) {
        if (settings_.ModeAbsence == 0) {
            view_.SetStatusText(text::kAbsenceNotSet);
            return;
        }
        if (GreetingFile().empty()) {
            view_.SetStatusText(text::kAbsenceNoFile);
            return;
        }
        state_.absenceMode = true;
        line_.SetARSComm(1);
        view_.SetButtonLook(kArsButton, "AbsenceOn");
        return;
    }
    if (state_.engaged) {
        // The user takes the call over from the machine: what was recorded
        // is the call's now, not a message to judge.
        state_.absenceLevel = kLevelTakenOver;
        if (state_.recording)
            host_.ToggleRecording();
        if (state_.playing)
            StopPlayback();
        state_.call.CallMode = kCallReceived;
        host_.UserTakesCall();
        view_.SetPicture(kMachinePicture, kBitmapMachineIdle);
        // A message limit started before the take-over must not end the
        // user's call.
        timers_.Stop(kTimerMessageLimit);
    }
    state_.absenceMode = false;
    line_.SetARSComm(0);
    view_.SetButtonLook(kArsButton, "AbsenceOff");
}

void AnsweringMachine::OnArsKey(bool on) {
    if (on && !state_.absenceMode) {
        state_.absenceMode = true;
        view_.SetButtonLook(kArsButton, "AbsenceOn");
    } else if (!on && state_.absenceMode) {
        state_.absenceMode = false;
        view_.SetButtonLook(kArsButton, "AbsenceOff");
    }
}

void AnsweringMachine::Arm() {
    if (!state_.absenceMode || state_.recording || state_.playing)
        return;
    state_.absenceLevel = kLevelIdle;
    timers_.Start(kTimerAutoAnswer,
                  static_cast<unsigned>(std::max(0, settings_.IntAbsenceRingTime)));
}

void AnsweringMachine::OnRingEnd() {
    // The caller is gone before the answer delay: do not take the line.
    timers_.Stop(kTimerAutoAnswer);
}

bool AnsweringMachine::OnTimer(int id) {
    switch (id) {
        case kTimerAutoAnswer:
            OnAnswerTimer();
            return true;
        case kTimerCallerTimeOut:
            OnCallerTimeOut();
            return true;
        case kTimerMessageLimit:
            OnMessageLimit();
            return true;
        default:
            return false;
    }
}

void AnsweringMachine::OnAnswerTimer() {
    timers_.Stop(kTimerAutoAnswer);
    // The user answered first, or switched the machine off meanwhile.
    if ((line_.GetTYplusState() & kStateOffHook) || !state_.absenceMode)
        return;
    host_.MachineTakesCall();
    view_.SetPicture(kMachinePicture, kBitmapEngaged);
    line_.HookOff();
}

void AnsweringMachine::OnCallerTimeOut() {
    timers_.Stop(kTimerCallerTimeOut);
    if (!state_.engaged || state_.absenceLevel != kLevelWaitingForKey)
        return;
    if (Play(PromptPath(kPrompt9File).string())) {
        state_.playing = true;
        state_.absenceLevel = kLevelPrompt9;
    } else {
        line_.HookOn();
    }
}

void AnsweringMachine::OnMessageLimit() {
    timers_.Stop(kTimerMessageLimit);
    if (state_.engaged && state_.absenceLevel != kLevelTakenOver)
        host_.HookButton();
}

void AnsweringMachine::StartGreeting() {
    state_.call.CallMode = kCallAnswered;
    state_.lineDigits.clear();
    state_.absenceLevel =
        (settings_.ModeAbsence & kAbsenceGreetingOnly) ? kLevelGreetingOnly : kLevelKeysAccepted;
    if (PlayGreeting()) {
        state_.playing = true;
        view_.SetPicture(kPlayPicture, kBitmapPlaying);
        view_.SetStatusText(text::kGreetingPlaying);
    } else {
        WaitForKey();
    }
}

void AnsweringMachine::OnPlaybackEnded() {
    switch (state_.absenceLevel) {
        case kLevelGreetingOnly:
        case kLevelPrompt9:
            line_.HookOn();
            break;
        case kLevelKeysAccepted:
            WaitForKey();
            break;
        case kLevelKey1:
            line_.Pause(100);
            PlayPromptOrWait(kPrompt1File, kLevelPrompt1);
            break;
        case kLevelKey2:
            line_.Pause(100);
            PlayPromptOrWait(kPrompt2File, kLevelPrompt2);
            break;
        case kLevelKey3:
            state_.lineDigits.clear();
            line_.Pause(100);
            if (state_.playing) {
                state_.absenceLevel = kLevelWaitingForKey;
                StopPlayback();
            }
            if (PlayGreeting())
                ShowGreetingPlaying();
            else
                WaitForKey();
            break;
        case kLevelOtherKey:
            line_.Pause(100);
            if (Play(PromptPath(kPrompt8File).string()))
                ShowGreetingPlaying();
            else
                WaitForKey();
            break;
        case kLevelPrompt1:
            line_.Pause(100);
            line_.SendNumber('0', 2 * settings_.IntKeyTime, settings_.ToneLevel);
            if (line_.IsLineBusy() == 1) {
                timers_.Start(
                    kTimerMessageLimit,
                    static_cast<unsigned>(std::max(0, settings_.IntAbsenceMaxMessage)) * 1000);
                if (!state_.recording) {
                    line_.WatchRecord(std::max(0, settings_.IntAbsenceSilence) * 1000);
                    host_.ToggleRecording();
                }
            }
            break;
        case kLevelPrompt2:
            if (line_.IsLineBusy() == 1)
                timers_.Start(kTimerMessageLimit, kHoldAfterPrompt2Ms);
            break;
        default:
            break;
    }
}

void AnsweringMachine::OnDigit(char digit) {
    const int level = state_.absenceLevel;
    if (level != kLevelKeysAccepted && level != kLevelKey3 && level != kLevelWaitingForKey)
        return;
    state_.lineDigits.clear();
    if (digit == '1' || digit == '2') {
        const bool first = digit == '1';
        state_.absenceLevel = first ? kLevelKey1 : kLevelKey2;
        if (state_.playing)
            StopPlayback();  // its end plays the prompt
        else
            PlayPromptOrWait(first ? kPrompt1File : kPrompt2File,
                             first ? kLevelPrompt1 : kLevelPrompt2);
        return;
    }
    if (level == kLevelWaitingForKey)
        timers_.Stop(kTimerCallerTimeOut);
    const bool replay = digit == '3';
    if (state_.playing) {
        state_.absenceLevel = replay ? kLevelKey3 : kLevelOtherKey;
        StopPlayback();  // its end plays the greeting or prompt 8
        return;
    }
    const bool played = replay ? PlayGreeting() : Play(PromptPath(kPrompt8File).string());
    if (played)
        ShowGreetingPlaying();
    else
        timers_.Start(kTimerCallerTimeOut,
                      static_cast<unsigned>(std::max(0, settings_.IntAbsenceTimeOut)));
}

void AnsweringMachine::OnBusyTone() {
    if (state_.connected)
        view_.SetStatusText(text::kDisconnected);
    if (state_.recording)
        host_.ToggleRecording();
    if (state_.playing || (line_.GetTYplusState() & kStatePlaying))
        StopPlayback();
    line_.HookOn();
}

bool AnsweringMachine::RecordingMessage() const {
    return state_.engaged && state_.recording && state_.absenceLevel == kLevelPrompt1;
}

void AnsweringMachine::OnRecordWatch(long what) {
    if (!RecordingMessage())
        return;
    if (what == kRecordWatchBusy)
        OnBusyTone();
    else if (what == kRecordWatchSilence && settings_.IntAbsenceSilence > 0)
        host_.HookButton();
}

void AnsweringMachine::KeepMessage() {
    CallRecord& call = state_.call;
    RecordedAudio audio;
    if (!call.CallRec || !line_.GetRecordAudio(audio))
        return;  // nothing heard to judge by: the message stays as it is
    const std::filesystem::path file =
        std::filesystem::path(call.CallRecDirectory) / call.CallRecFileName;
    unsigned keepBytes = audio.dataBytes;
    unsigned keptMs = audio.audioMs;
    if (settings_.IntAbsenceSilence > 0) {
        keepBytes = audio.keepBytes;  // never into the busy tone either
        keptMs = audio.keepMs;
    } else if (audio.busyTone) {
        keepBytes = audio.busyBytes;
        keptMs = audio.busyMs;
    }
    std::error_code ec;
    if (keptMs < static_cast<unsigned>(std::max(0, settings_.IntAbsenceMinMessage)) * 1000u) {
        std::filesystem::remove(file, ec);
        call.CallRec = false;
        call.CallRecDirectory.clear();
        call.CallRecFileName.clear();
        return;
    }
    // (Nothing heard and no minimum: the message stays whole.)
    if (keepBytes > 0 && keepBytes < audio.dataBytes)
        CutRecording(file, keepBytes);
}

void AnsweringMachine::OnHangUp() {
    if (state_.absenceLevel == kLevelWaitingForKey)
        timers_.Stop(kTimerCallerTimeOut);
    if (state_.absenceLevel == kLevelPrompt1 || state_.absenceLevel == kLevelPrompt2)
        timers_.Stop(kTimerMessageLimit);
    view_.SetPicture(kMachinePicture, kBitmapMachineIdle);
}

bool AnsweringMachine::Play(const std::string& path) {
    return !path.empty() && line_.WaveOut(path, 0, RawFlagFor(path)) != 0;
}

bool AnsweringMachine::PlayGreeting() {
    return Play(GreetingFile());
}

void AnsweringMachine::ShowGreetingPlaying() {
    state_.playing = true;
    view_.SetPicture(kPlayPicture, kBitmapPlaying);
    state_.absenceLevel = kLevelKeysAccepted;
    view_.SetStatusText(text::kGreetingPlaying);
}

void AnsweringMachine::StopPlayback() {
    line_.StopWaveOut();
    state_.playing = false;
}

void AnsweringMachine::WaitForKey() {
    timers_.Start(kTimerCallerTimeOut,
                  static_cast<unsigned>(std::max(0, settings_.IntAbsenceTimeOut)));
    state_.absenceLevel = kLevelWaitingForKey;
}

void AnsweringMachine::PlayPromptOrWait(const char* file, int levelOnSuccess) {
    if (Play(PromptPath(file).string())) {
        state_.playing = true;
        state_.absenceLevel = levelOnSuccess;
    } else {
        WaitForKey();
    }
}

}  // namespace vantelo
