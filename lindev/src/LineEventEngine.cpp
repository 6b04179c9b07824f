#include "LineEventEngine.h"

#include <cstdio>

#include "Protocol.h"
#include "lindev/lindev.h"

namespace lindev {

using namespace status;

namespace {

std::string Format(const char* format, int value) {
    char text[96];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// How the log shows a received digit code.
std::string DigitText(const char* prefix, int code, bool extension) {
    char c = 0;
    if (extension && code >= 1 && code <= 4) c = static_cast<char>('A' + code - 1);
    if (!extension) c = usbline::protocol::KeyOfDigitCode(code);
    std::string text = prefix;
    return c ? text + c : text + std::to_string(code);
}

}  // namespace

LineEventEngine::LineEventEngine(LineEventSink& sink) : sink_(sink) {
    SetToneTimes(kDefaultToneTimes);
}

void LineEventEngine::SetToneTimes(const std::array<int, kToneTimeCount>& times) {
    for (int i = 0; i < kToneTimeCount; ++i) toneTimes_[i].store(times[i]);
}

std::array<int, kToneTimeCount> LineEventEngine::ToneTimes() const {
    std::array<int, kToneTimeCount> times{};
    for (int i = 0; i < kToneTimeCount; ++i) times[i] = toneTimes_[i].load();
    return times;
}

void LineEventEngine::Reset() {
    pollInProgress_.store(false);
    current_.store(0);
    previous_.store(0);
    toneState_.store(kToneIdle);
    ringing_.store(false);
    recordStopLatch_.store(false);
    playStopLatch_.store(false);
    ringOnCount_ = 0;
    ringEndCountdown_ = 4000;
    toneCount_ = 0;
    silenceCount_ = 0;
    ClearBusyCounts();
    dtmfCount_ = 0;
}

void LineEventEngine::Report(vt::UINT message, vt::LPARAM lParam, const std::string& text) {
    sink_.Log(text);
    sink_.Post(message, lParam);
}

bool LineEventEngine::BeginPoll() {
    if (pollInProgress_.load()) {
        sink_.Log("Message.m_bInterruptAct=TRUE, WM_TY_DEVICEREMOVED 0L");
        sink_.Post(WM_TY_DEVICEREMOVED, 0);
        // A worker is never killed: it is asked to stop and this poll ends.
        if (sink_.StopStuckWorker()) return false;
    }
    pollInProgress_.store(true);
    return true;
}

void LineEventEngine::EndPoll(std::uint32_t read) {
    const auto word = static_cast<std::uint16_t>(read);
    current_.store(word);
    pollInProgress_.store(false);
    const std::uint16_t previous = previous_.load();

    if (word == kUnreadable) {
        if (previous != kUnreadable) Report(WM_TY_DEVICEREMOVED, 0, "Message. WM_TY_DEVICEREMOVED 0L");
    } else {
        const auto changed = static_cast<std::uint16_t>(word ^ previous);
        if (changed) HandleChanges(word, changed);
        HandleRing(word, previous);
        if (word & kOffHook) HandleTones(word);
        HandleDtmf(word, changed);
    }
    previous_.store(word);
}

void LineEventEngine::HandleChanges(std::uint16_t word, std::uint16_t changed) {
    if (changed & kReverse) {
        const bool set = word & kReverse;
        Report(WM_TY_REVERSETONE, set, set ? "Message. WM_TY_REVERSETONE 1L"
                                           : "Message. WM_TY_REVERSETONE 0L");
    }
    if (changed & kArs) {
        const bool set = word & kArs;
        Report(WM_TY_GETARS, set, set ? "Message. WM_TY_GETARS 1L" : "Message. WM_TY_GETARS 0L");
    }
    if ((word & kCallerIdBits) == kCallerIdBits && sink_.ReadCallerId() == 1)
        Report(WM_TY_CIDREDAY, 0, "Message. WM_TY_CIDREDAY CID=" + sink_.CallerIdOutput());
    if (changed & kOffHook) HandleHookChange(word);
}

void LineEventEngine::HandleHookChange(std::uint16_t word) {
    if (!(word & kPlaying)) {
        playStopLatch_.store(false);
    } else if (!playStopLatch_.load()) {
        sink_.Log("Stop Play. When LINE State change. ");
        sink_.StopPlayback();
        // Set after the stop, which clears it: a second hook change while the
        // adapter still shows playback must not stop it again.
        playStopLatch_.store(true);
    }
    if (!(word & kRecording)) {
        recordStopLatch_.store(false);
    } else if (!recordStopLatch_.load()) {
        sink_.Log("Stop Record. When LINE State change. ");
        sink_.StopRecording();
        recordStopLatch_.store(true);
    }

    if (word & kOffHook) {
        if (sink_.HeadsetLocation() == 2) {
            sink_.Log("To set Tel_mode. When Hook Off State. ");
            sink_.SetTelMode();
        }
        // State first, then the message: a window that reads the tone state on
        // the message must see the off-hook state.
        toneState_.store(kToneOffHook);
        ClearBusyCounts();
        dtmfCount_ = 0;
        Report(WM_TY_LINENOTIFY, 1, "Message. WM_TY_LINENOTIFY 1L");
    } else {
        sink_.ClearAutoDial();
        ringing_.store(false);
        ClearBusyCounts();
        dtmfCount_ = 0;
        toneState_.store(kToneIdle);
        if (sink_.HeadsetLocation() == 2) sink_.SetTelMode();
        Report(WM_TY_LINENOTIFY, 0, "Message. WM_TY_LINENOTIFY 0L");
        sink_.ClearCallerId();
    }
}

void LineEventEngine::HandleRing(std::uint16_t word, std::uint16_t previous) {
    if ((word & kRing) && (previous & kRing)) {
        ringEndCountdown_ = ringEndTime_.load();
        if (ringing_.load()) return;
        if (ringOnCount_ == 10) {
            ringing_.store(true);
            Report(WM_TY_RINGDETECTED, 0, Format("Message. WM_TY_RINGDETECTED Count=%x", ringOnCount_));
        } else {
            ++ringOnCount_;
        }
    } else if (ringing_.load()) {
        ringEndCountdown_ -= kPollPeriodMs;
        if (ringEndCountdown_ < 4200) {
            ringOnCount_ = 0;
            ringing_.store(false);
            Report(WM_TY_RINGEND, ringEndTime_.load(), "Message. WM_TY_RINGEND 0L");
            ringEndCountdown_ = 0;
        }
    }
}

void LineEventEngine::HandleTones(std::uint16_t word) {
    if (word & kTone) {
        silenceCount_ = 0;
        ++toneCount_;
        if (toneCount_ >= Threshold(kDialTonePolls) && toneState_.load() != kToneDial) {
            toneState_.store(kToneDial);
            ClearBusyCounts();
            Report(WM_TY_DIALTONE, 0, "Message. WM_TY_DIALTONE 0L");
            toneCount_ = 0;
        }
        return;
    }
    if (toneState_.load() == kToneRingBack || ringing_.load()) {
        ++silenceCount_;
        if (silenceCount_ > Threshold(kReceiveSilence)) {
            if (toneState_.load() != kToneReceive) {
                Report(WM_TY_RECEIVE, 0, "Message. WM_TY_RECEIVE 0L");
                toneState_.store(kToneReceive);
                ClearBusyCounts();
            }
            silenceCount_ = 0;
        }
    }
    if (toneCount_ > 0) {
        sink_.Post(WM_TY_TONELENGTH, static_cast<std::uint16_t>(toneCount_));
        ClassifyBurst(toneCount_);
        toneCount_ = 0;
    }
}

void LineEventEngine::ClassifyBurst(int n) {
    const int state = toneState_.load();
    if (Threshold(kBusy1Low) < n && n < Threshold(kBusy1High)) {
        if (state == kToneReceive) return;
        busy2Count_ = 0;
        ++busy1Count_;
        if (busy1Count_ == Threshold(kBusy1Count) && state != kToneBusy1) {
            Report(WM_TY_BUSY1, 0, "Message. WM_TY_BUSY1 0L");
            toneState_.store(kToneBusy1);
            busy1Count_ = 0;
        }
    } else if (Threshold(kBusy2Low) < n && n < Threshold(kBusy2High)) {
        busy1Count_ = 0;
        ++busy2Count_;
        if (busy2Count_ == Threshold(kBusy2Count) && state != kToneBusy2) {
            Report(WM_TY_BUSY2, 0, "Message. WM_TY_BUSY2 0L");
            toneState_.store(kToneBusy2);
            busy2Count_ = 0;
        }
    } else if (Threshold(kRingBackLow) < n && n < Threshold(kRingBackHigh)) {
        ClearBusyCounts();
        if (state != kToneRingBack) {
            Report(WM_TY_RINGBACKTONE, 0, "Message. WM_TY_RINGBACKTONE 0L");
            toneState_.store(kToneRingBack);
        }
    } else {
        ClearBusyCounts();
    }
}

void LineEventEngine::HandleDtmf(std::uint16_t word, std::uint16_t changed) {
    if (!(changed & kDtmfStrobe) || !(word & kDtmfStrobe) || sink_.AutoDialActive()) return;
    ++dtmfCount_;
    silenceCount_ = 0;
    const int code = word >> kDigitShift;
    if (word & kDialling)
        Report(WM_EX_EXT_DTMF, code, DigitText("Message. WM_EX_EXT_DTMF DTMF=", code, true));
    else
        Report(WM_TY_GETDTMF, code, DigitText("Message. WM_TY_GETDTMF DTMF=", code, false));
}

}  // namespace lindev
