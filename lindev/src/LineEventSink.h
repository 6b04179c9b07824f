#pragma once
// What the line event engine needs from its slot: a window to post to, the
// diagnostic log, and the few actions a poll can trigger. The slot
// implements it over the adapter; tests implement it with a recorder.

#include <string>

#include "platform/MessageWindow.h"

namespace lindev {

class LineEventSink {
public:
    virtual ~LineEventSink() = default;

    // Posts to the slot's target window (wParam = the device id).
    virtual void Post(vt::UINT message, vt::LPARAM lParam) = 0;
    virtual void Log(const std::string& text) = 0;

    // Reads and parses the waiting caller-ID message: 1 on success, else
    // 0 (request failed), 3 (not ready or not a caller-ID message) or 0xFF
    // (slot not open).
    virtual int ReadCallerId() = 0;
    // The caller-ID output buffer as text (for the log line).
    virtual std::string CallerIdOutput() = 0;
    virtual void ClearCallerId() = 0;

    virtual void StopPlayback() = 0;
    virtual void StopRecording() = 0;

    // Headset location (1 or 2; 0 if it cannot be read) and the switch of
    // the line side back to TEL mode.
    virtual int HeadsetLocation() = 0;
    virtual void SetTelMode() = 0;

    virtual bool AutoDialActive() = 0;
    virtual void ClearAutoDial() = 0;

    // A poll found the previous one unfinished: ask the first running worker
    // (ARS, playback, record-process, record-data) to stop. False when none
    // runs.
    virtual bool StopStuckWorker() = 0;
};

}  // namespace lindev
