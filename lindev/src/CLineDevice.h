#pragma once
// One slot of the device table: an adapter's transport, its line event
// engine, events, flags and worker threads. Every thread a slot starts is
// owned and joined by the slot; the destructor ends them all before the
// transport goes away.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "ArsEngine.h"
#include "AutoDialer.h"
#include "CodecSlot.h"
#include "PlaybackEngine.h"
#include "RecordingEngine.h"
#include "CallerIdStore.h"
#include "LineEventEngine.h"
#include "platform/AutoResetEvent.h"
#include "platform/MessageWindow.h"
#include "usbline/CTyCtiInstance.h"

namespace lindev {

// Internal step results.
enum StepResult : int { kDone = 1, kBusyOrAlready = 2, kBadArgument = 3, kNotOpen = 255 };

class CLineDevice : private LineEventSink {
public:
    explicit CLineDevice(int slot);
    ~CLineDevice() override;
    CLineDevice(const CLineDevice&) = delete;
    CLineDevice& operator=(const CLineDevice&) = delete;

    // 1 opened, 2 already open, 0 failed.
    int TyOpen();
    // 1 closed, 2 was not open.
    int TyClose();

    // Replaces any running service thread. False if no thread could be made.
    bool StartService(vt::HWND window, int deviceId);
    void StopService();
    bool ServiceRunning() const { return service_.joinable(); }

    // Ends every worker thread of the slot (service, listener and the
    // operation threads), asking each to stop and joining it.
    void StopAllWorkers();
    // Ends the operation threads (dialling, ARS, playback, recording).
    void StopOperations();

    // The status word as commands see it: bit 9 forced on while automatic
    // dialling runs; stored as the last status word. 0xFFFFFFFF unreadable.
    std::uint32_t ReadStatus();

    // One diagnostic line, when logging is on for this slot.
    void Log(const std::string& text) override;
    // Posts to the slot's target window (wParam = the device id).
    void PostMessage(vt::UINT message, vt::LPARAM lParam) { Post(message, lParam); }

    CTyCtiInstance& Transport() { return transport_; }
    LineEventEngine& Engine() { return engine_; }
    CallerIdStore& CallerId() { return callerId_; }
    // The slot's codec conversions (they never touch the adapter).
    CodecSlot& Codec() { return codec_; }
    RecordingEngine& Recorder() { return recorder_; }
    PlaybackEngine& Player() { return player_; }
    ArsEngine& Ars() { return ars_; }
    AutoDialer& Dialer() { return dialer_; }

    bool IsOpen() const { return open_.load(); }
    void SetLogEnabled(bool on) { logEnabled_.store(on); }
    int DeviceId() const { return deviceId_.load(); }
    int HwVersion() const { return hwVersion_.load(); }
    int FwVersion() const { return fwVersion_.load(); }

    // Activity of the operation threads (recording, playback, ARS).
    bool Recording() const { return recorder_.Recording(); }
    bool Playing() const { return player_.Playing(); }
    bool ArsRunning() const { return ars_.Running(); }
    bool AutoDialing() const { return autoDial_.load() != 0; }
    void SetAutoDial(bool on) { autoDial_.store(on ? 1 : 0); }

    // Kept for redial; used on the application's thread only.
    struct RedialState {
        std::string extensionText;
        std::string numberText;
        int toneTime = 0;
        int toneLevel = 0;
        int onTime = 0;  // of the last automatic dialling
        int offTime = 0;
    };
    RedialState& Redial() { return redial_; }

private:
    void StartListener();
    void StopListener();
    void ServiceLoop();
    void PollOnce();

    // LineEventSink
    void Post(vt::UINT message, vt::LPARAM lParam) override;
    int ReadCallerId() override;
    std::string CallerIdOutput() override { return callerId_.Output(); }
    void ClearCallerId() override { callerId_.Clear(); }
    void StopPlayback() override;
    void StopRecording() override;
    int HeadsetLocation() override;
    void SetTelMode() override;
    bool AutoDialActive() override { return AutoDialing(); }
    void ClearAutoDial() override { autoDial_.store(0); }
    bool StopStuckWorker() override;

    const int slot_;
    CTyCtiInstance transport_;
    LineEventEngine engine_;
    CallerIdStore callerId_;

    std::atomic<bool> open_{false};
    std::atomic<bool> listenerStarted_{false};
    std::atomic<bool> freshOpen_{false};  // opened since the last service start
    std::atomic<bool> logEnabled_{false};
    std::atomic<int> deviceId_;
    std::atomic<vt::HWND> window_{nullptr};
    std::atomic<int> hwVersion_{0};
    std::atomic<int> fwVersion_{0};
    std::atomic<std::uint16_t> lastStatus_{0};

    // Set while the threaded automatic dialling runs.
    std::atomic<int> autoDial_{0};

    vt::AutoResetEvent serviceStop_;
    vt::AutoResetEvent listenerEnded_;

    std::thread service_;
    std::thread listener_;

    RedialState redial_;

    // The operation engines go before the transport and flags they use.
    RecordingEngine recorder_{*this};
    PlaybackEngine player_{*this};
    ArsEngine ars_{*this};
    AutoDialer dialer_{*this};

    // Last, so it goes first: its threads post and log through the members above.
    CodecSlot codec_;
};

}  // namespace lindev
