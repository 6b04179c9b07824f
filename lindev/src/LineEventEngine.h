#pragma once
// The per-poll line event engine of one slot: it takes the status word of
// each 30 ms poll, compares it with the previous one and turns the changes
// into posted messages, log lines and actions on its sink. No threads and no
// I/O of its own, so tests drive it with exact word sequences.
//
// Concurrency: one thread (the slot's service thread) polls. The tone state,
// status words, ring end time, thresholds and latches are atomics, so other
// threads may read (and the setters write) them at any time.

#include <array>
#include <atomic>
#include <cstdint>

#include "LineEventSink.h"

namespace lindev {

// Line tone state (TY_GetToneState).
enum ToneState : int {
    kToneIdle = 0,
    kToneOffHook = 1,
    kToneDial = 2,
    kToneRingBack = 3,
    kToneBusy1 = 4,
    kToneBusy2 = 5,
    kToneReceive = 6,
};

// The ten cadence thresholds, in polls, in TY_SetToneTime order.
enum ToneTime : int {
    kBusy1Low = 0,
    kBusy1High,
    kBusy1Count,
    kBusy2Low,
    kBusy2High,
    kBusy2Count,
    kDialTonePolls,
    kReceiveSilence,
    kRingBackLow,
    kRingBackHigh,
    kToneTimeCount
};

inline constexpr std::array<int, kToneTimeCount> kDefaultToneTimes = {5,  12, 2,   10, 19,
                                                                      2,  36, 180, 21, 36};
inline constexpr int kDefaultRingEndTime = 5700;  // ms; also the smallest accepted
inline constexpr int kPollPeriodMs = 30;

class LineEventEngine {
public:
    explicit LineEventEngine(LineEventSink& sink);
    LineEventEngine(const LineEventEngine&) = delete;
    LineEventEngine& operator=(const LineEventEngine&) = delete;

    // Start of a poll: the re-entry guard. Returns true and sets the guard
    // when the word may be read; false when the poll must end (a stuck
    // worker was asked to stop and the removal was reported).
    bool BeginPoll();
    // Clears the guard and handles the word read (Interrupt_Read's result).
    void EndPoll(std::uint32_t word);
    // One whole poll with an already known word.
    void Poll(std::uint32_t word) {
        if (BeginPoll()) EndPoll(word);
    }

    // Back to the state of a slot never served: previous word 0, counters,
    // tone state, ringing and latches cleared; thresholds and ring end time
    // kept. For a freshly opened adapter, so that the word left from before
    // (0xFFFF after a removal) neither hides the next removal nor makes an
    // idle line look changed. Only while no poll runs.
    void Reset();

    int ToneStateValue() const { return toneState_.load(); }
    std::uint16_t CurrentWord() const { return current_.load(); }
    std::uint16_t PreviousWord() const { return previous_.load(); }
    bool Ringing() const { return ringing_.load(); }
    int DtmfDigitCount() const { return dtmfCount_; }

    void SetToneTimes(const std::array<int, kToneTimeCount>& times);
    std::array<int, kToneTimeCount> ToneTimes() const;
    void SetRingEndTime(int ms) { ringEndTime_.store(ms); }
    int RingEndTime() const { return ringEndTime_.load(); }

    // Set when this engine stopped a recording / playback on a hook change;
    // the next hook change with the activity bit clear resets them.
    bool RecordStopLatch() const { return recordStopLatch_.load(); }
    bool PlayStopLatch() const { return playStopLatch_.load(); }
    void ClearRecordStopLatch() { recordStopLatch_.store(false); }
    void ClearPlayStopLatch() { playStopLatch_.store(false); }

private:
    void HandleChanges(std::uint16_t word, std::uint16_t changed);
    void HandleHookChange(std::uint16_t word);
    void HandleRing(std::uint16_t word, std::uint16_t previous);
    void HandleTones(std::uint16_t word);
    void ClassifyBurst(int length);
    void HandleDtmf(std::uint16_t word, std::uint16_t changed);
    void Report(vt::UINT message, vt::LPARAM lParam, const std::string& text);
    int Threshold(ToneTime which) const { return toneTimes_[which].load(); }
    void ClearBusyCounts() { busy1Count_ = busy2Count_ = 0; }

    LineEventSink& sink_;
    std::atomic<bool> pollInProgress_{false};
    std::atomic<std::uint16_t> current_{0};
    std::atomic<std::uint16_t> previous_{0};
    std::atomic<int> toneState_{kToneIdle};
    std::atomic<bool> ringing_{false};
    std::atomic<bool> recordStopLatch_{false};
    std::atomic<bool> playStopLatch_{false};
    std::atomic<int> ringEndTime_{kDefaultRingEndTime};
    std::array<std::atomic<int>, kToneTimeCount> toneTimes_;
    // Only the polling thread touches these.
    int ringOnCount_ = 0;
    int ringEndCountdown_ = 4000;  // ms; Reset() restores it
    int toneCount_ = 0;
    int silenceCount_ = 0;
    int busy1Count_ = 0;
    int busy2Count_ = 0;
    int dtmfCount_ = 0;
};

}  // namespace lindev
