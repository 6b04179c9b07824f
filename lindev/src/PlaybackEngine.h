#pragma once
// The playback engine of one slot: announces a file's byte count and format
// to the adapter (request 0x58) and streams its bytes in 64-byte bulk-out
// blocks, which the adapter paces. Whole-file playback (TY_WaveOut, on a
// thread or on the caller's thread) and positioned playback (TY_WaveOutSub)
// that reports progress and can be paused and resumed from its last
// progress value.
//
// Start, stop and pause run one at a time; stop and pause wait for the
// thread, which tests the stop flags before every block and so ends within
// one block.

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "platform/AutoResetEvent.h"
#include "platform/MessageWindow.h"

namespace lindev {

class CLineDevice;

class PlaybackEngine {
public:
    static constexpr std::size_t kPathSize = 260;
    static constexpr long kHeaderSkip = 70;
    static constexpr long kShortestFile = 100;

    explicit PlaybackEngine(CLineDevice& device);
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // TY_WaveOut and TY_WaveOutSub after their refusal checks: 1 started
    // (or, synchronous, played); 0 refused.
    int WaveOut(const char* path, bool synchronous, bool raw);
    int WaveOutSub(const char* path, int offset, bool raw);
    // 1 a running playback was stopped, 2 nothing ran, 255 not open.
    int Stop();
    // 1 paused, 2 no playback thread, 255 not open.
    int Pause();
    // Asks a running playback to end without waiting (a stuck poll).
    void RequestStop();
    // Ends a playback thread quietly (the slot closes) and waits for it.
    void EndThread();

    bool Playing() const { return playing_.load() != 0; }

private:
    struct Job {
        std::string path;
        bool raw = false;
        long offset = 0;
        bool positioned = false;
    };

    // Refusals shared by both exports; true when a playback may start.
    bool MayStart();
    int StartThread(const Job& job);
    void WholeFile(const Job& job);
    void Positioned(const Job& job);
    bool StopAsked(bool pauseToo);
    // Ends the stream after a stop: one 50-byte block of the buffer.
    void SendStopBlock(std::uint8_t* buffer);
    void Finish(const char* text, vt::LPARAM lParam);

    CLineDevice& device_;
    std::mutex control_;  // one start, stop or pause at a time
    std::atomic<int> playing_{0};
    std::atomic<int> paused_{0};
    std::atomic<int> stopRequested_{0};
    std::atomic<bool> threadEnded_{true};
    vt::AutoResetEvent playStop_;
    std::thread thread_;
};

}  // namespace lindev
