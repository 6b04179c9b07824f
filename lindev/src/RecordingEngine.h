#pragma once
// The recording engine of one slot: a data thread that keeps the driver's
// recording transfer open over the 256000-byte ring, and a process thread
// that drains the ring into the file every 30 ms (mode 0: a mu-law WAV file;
// modes 1 to 3: the compressed records unchanged). In mode 1 the payloads
// also go through the monitor ring to the application (WM_TY_RECORDDATA).
//
// Start and stop run one at a time (the caller's thread, the service thread
// on a hook change, the slot's close); a stop waits until both threads have
// ended. The process thread may also stop the recording itself (hook and
// headset location), without waiting for itself.
//
// The process thread also judges the audio it writes (RecordedAudioFeed):
// a watched recording (Watch before its start) posts WM_TY_RECORDWATCH
// once when its silence reaches the watched length and once when the busy
// tone is heard; Audio() tells where the sound ends and where the tone
// began, for the running recording and, after it, the last one.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "MonitorRing.h"
#include "lindev/lindev.h"
#include "platform/AutoResetEvent.h"

namespace lindev {

class CLineDevice;

class RecordingEngine {
public:
    static constexpr std::size_t kPathSize = 260;

    explicit RecordingEngine(CLineDevice& device);
    ~RecordingEngine();
    RecordingEngine(const RecordingEngine&) = delete;
    RecordingEngine& operator=(const RecordingEngine&) = delete;

    // The record type of TY_StartRecord to the adapter's record mode:
    // 1 -> 3, 2 -> 2, 3 -> 1, anything else -> 0.
    static int ModeForType(int recordType);

    // 1 started; 255 not open, 2 a recording, playback or ARS run is active,
    // 3 bad path, 0 request or thread failure.
    int Start(const char* path, int recordFlag, int mode);
    // 1 stopped (or nothing ran), 0 not open.
    int Stop();

    // Watches the next recording started: a notice after `silenceMs` of
    // silence (none when 0 or less) and one when the busy tone is heard.
    void Watch(int silenceMs);
    // What the audio of the running or last recording holds.
    TY_RECORDAUDIO Audio() const;

    bool Recording() const { return recording_.load() != 0; }
    // Whether recording threads exist (running or not yet joined).
    bool ThreadsRecorded() const;
    // Asks a running recording to end without waiting (a stuck poll).
    void RequestStop();
    // Ends recording threads, if any, and waits for them (the slot closes).
    void EndThreads();

private:
    struct Run;

    void DataThread(std::shared_ptr<Run> run);
    void ProcessThread(std::shared_ptr<Run> run);
    // Sends the stop requests: IntRecord_Stop, and request 0x57 (once per
    // recording) unless the adapter is gone.
    void SendStopRequests(bool withStopRequest);
    int StopLocked();
    bool ShouldStopForHook();
    // The adapter's status word shows a recording (this engine's or not).
    bool AdapterRecording();

    CLineDevice& device_;
    std::mutex control_;  // one start or stop at a time
    std::atomic<int> recording_{0};
    std::atomic<bool> dataEnded_{true};
    // Request 0x57 went out for the current recording.
    std::atomic<bool> stopRequestSent_{true};
    vt::AutoResetEvent recordDone_;
    std::thread dataThread_;
    std::thread processThread_;
    MonitorRing monitor_;
    std::atomic<int> watchSilenceMs_{-1};  // -1: the next recording is not watched
    mutable std::mutex audioMutex_;
    TY_RECORDAUDIO audio_{};
};

}  // namespace lindev
