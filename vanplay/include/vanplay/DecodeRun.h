#pragma once
// The decoding run: a compressed recording to a 16-bit PCM WAV, with the
// codec library "libtrc.so" loaded by name (beside the executable first)
// for the run and released at its end.
//
// Started as a thread, it posts WM_TY_CODECPROGRESS (lParam: the progress
// value, only when it changes) and, once, WM_TY_CODECDONE (lParam 0 decoded,
// 1 failed) to its window. wParam carries the run's serial number, so the
// window can tell a current run's messages from those of a run it gave up.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "platform/MessageWindow.h"

namespace vanplay {

// Results of a run.
inline constexpr int kDecodeOk = 0;
inline constexpr int kDecodeNoCodec = 241;       // library or an entry point missing
inline constexpr int kDecodeCannotRead = 242;    // the recording cannot be read
inline constexpr int kDecodeCannotCreate = 243;  // the WAV cannot be written
inline constexpr int kDecodeCancelled = 244;     // given up by its owner

// A short Korean text for the status label, and an English reason for the
// command line.
const char* DecodeResultLabel(int result);
const char* DecodeResultReason(int result);

struct DecodeJob {
    std::string source;
    std::string destination;
    std::uint16_t volume = 1024;
    int progressScale = 100;
};

class DecodeRun {
public:
    // Converts on the calling thread. `progress` (may be empty) gets each new
    // progress value; `cancel` (may be null) is polled between records.
    static int Convert(const DecodeJob& job, const std::function<void(int)>& progress,
                       const std::atomic<bool>* cancel);

    DecodeRun(DecodeJob job, vt::HWND window, vt::WPARAM serial);
    // Cancels and joins: a run never outlives its owner.
    ~DecodeRun();
    DecodeRun(const DecodeRun&) = delete;
    DecodeRun& operator=(const DecodeRun&) = delete;

    // Starts the thread; false if it could not be made (nothing is posted).
    bool Start();
    void Cancel() { cancel_ = true; }
    void Join();
    bool Finished() const { return finished_; }
    // Valid once Finished().
    int Result() const { return result_; }

    const DecodeJob& Job() const { return job_; }
    vt::WPARAM Serial() const { return serial_; }

private:
    DecodeJob job_;
    vt::HWND window_;
    vt::WPARAM serial_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> result_{kDecodeOk};
};

}  // namespace vanplay
