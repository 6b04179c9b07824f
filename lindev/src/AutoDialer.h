#pragma once
// Automatic dialling of one slot: off-hook, an optional extension-line
// prefix and a pause, then the number as DTMF. A blocking form (also used
// by redial) and a threaded form that reports with WM_TY_AUTODIALDONE.
// Extensions longer than 10 characters and numbers longer than 48 do not
// fit the dial buffer and are refused before anything is sent.

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "platform/AutoResetEvent.h"

namespace lindev {

class CLineDevice;

class AutoDialer {
public:
    static constexpr std::size_t kMaxExtension = 10;
    static constexpr std::size_t kMaxNumber = 48;

    struct Request {
        std::string number;
        bool useExtension = false;
        std::string extension;
        int delay = 0;
        int onTime = 0;
        int offTime = 0;
        int level = 0;
    };

    explicit AutoDialer(CLineDevice& device);
    ~AutoDialer();
    AutoDialer(const AutoDialer&) = delete;
    AutoDialer& operator=(const AutoDialer&) = delete;

    // Delays of 1..199 ms are raised to 200; below 1 means none.
    static int NormaliseDelay(int delay);

    // TY_AutoDial: true when the number was sent.
    bool Dial(const Request& request);
    // TY_AutoDialThread: 1 started, 0 refused.
    int DialOnThread(const Request& request);
    // TY_SendRedial: 1 when the stored texts were dialled.
    int Redial();
    // Ends a running dial thread (it reports 255) and waits for it.
    void Stop();

private:
    bool Fits(const Request& request);
    void DialThread(Request request);
    // Sleeps unless asked to stop; false when asked.
    bool Pause(int ms);
    void Done(int lParam);

    CLineDevice& device_;
    std::mutex control_;
    std::atomic<bool> threadEnded_{true};
    vt::AutoResetEvent stop_;
    std::atomic<bool> stopRequested_{false};
    std::thread thread_;
    int delay_ = 0;  // kept for redial, with the times of RedialState
};

}  // namespace lindev
