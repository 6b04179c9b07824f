#include "CLineDevice.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "LineCommands.h"
#include "DiagnosticLog.h"
#include "Protocol.h"
#include "platform/Tick.h"

namespace lindev {

using namespace std::chrono_literals;

namespace {

constexpr unsigned kOpenPauseMs = 100;
constexpr unsigned kServiceSleepMs = 15;
constexpr int kCallerIdTries = 15;
constexpr unsigned kCallerIdRetryMs = 10;
// A stop sent before the listener reached the driver is lost; it is sent
// again until the listener ends, then the handles are closed as a last resort.
constexpr int kListenerStopTries = 50;
constexpr auto kListenerStopWait = 20ms;

}  // namespace

CLineDevice::CLineDevice(int slot)
    : slot_(slot),
      engine_(*this),
      deviceId_(slot),
      codec_([this](vt::UINT message, vt::LPARAM lParam) { Post(message, lParam); },
             [this](const std::string& text) { Log(text); }) {}

CLineDevice::~CLineDevice() {
    StopAllWorkers();
    TyClose();
}

int CLineDevice::TyOpen() {
    if (open_.load()) {
        Log("TyOpen().Device Already Open.");
        return kBusyOrAlready;
    }
    if (!transport_.Device_Open()) {
        transport_.Device_Close();
        open_.store(false);
        Log("TyOpen().Device_Open FAILED.");
        return 0;
    }
    std::uint8_t versions[2] = {};
    transport_.Vendor_Read(Request::ReadVersions, 0, 0, sizeof versions, versions);
    hwVersion_.store(versions[0]);
    fwVersion_.store(versions[1]);
    open_.store(true);
    freshOpen_.store(true);
    char text[160];
    std::snprintf(text, sizeof text, "\nTyOpen() ptr_DeviceInstance=%lx m_HW_Version=%x m_FW_Version=%x",
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(&transport_)),
                  versions[0], versions[1]);
    Log(text);
    vt::SleepMs(kOpenPauseMs);
    StartListener();
    listenerStarted_.store(true);
    Log("TyOpen(). Success.");
    return kDone;
}

int CLineDevice::TyClose() {
    Log("TyClose().");
    if (!open_.load()) return kBusyOrAlready;
    // No operation thread outlives the open adapter it streams to.
    StopOperations();
    if (listenerStarted_.load()) {
        StopListener();
        listenerStarted_.store(false);
    }
    transport_.Device_Close();
    open_.store(false);
    return kDone;
}

void CLineDevice::StartListener() {
    StopListener();
    listenerEnded_.Reset();
    // Its only work is to keep the adapter's interrupt pipe active.
    listener_ = std::thread([this] {
        transport_.Interrupt_Start();
        listenerEnded_.Set();
    });
}

void CLineDevice::StopListener() {
    if (!listener_.joinable()) return;
    bool ended = false;
    for (int i = 0; i < kListenerStopTries && !ended; ++i) {
        transport_.Interrupt_Stop();
        ended = listenerEnded_.Wait(kListenerStopWait);
    }
    if (!ended) transport_.Device_Close();  // closing the handles wakes the blocked start
    listener_.join();
}

bool CLineDevice::StartService(vt::HWND window, int deviceId) {
    window_.store(window);
    deviceId_.store(deviceId);
    StopService();
    // The first service on a freshly opened adapter starts from a clean
    // engine: see LineEventEngine::Reset.
    if (freshOpen_.exchange(false)) engine_.Reset();
    serviceStop_.Reset();
    try {
        service_ = std::thread(&CLineDevice::ServiceLoop, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CLineDevice::StopService() {
    if (!service_.joinable()) return;
    serviceStop_.Set();
    service_.join();
}

void CLineDevice::StopAllWorkers() {
    StopService();
    codec_.StopAll();
    StopOperations();
    if (listenerStarted_.load()) {
        StopListener();
        listenerStarted_.store(false);
    }
}

void CLineDevice::StopOperations() {
    dialer_.Stop();
    autoDial_.store(0);
    ars_.Stop();
    player_.EndThread();
    recorder_.EndThreads();
}

void CLineDevice::ServiceLoop() {
    std::uint64_t lastPoll = vt::TickCount64();
    if (serviceStop_.Wait(0ms)) return;
    for (;;) {
        std::uint64_t now = vt::TickCount64();
        if (now - lastPoll >= static_cast<std::uint64_t>(kPollPeriodMs)) {
            PollOnce();
            lastPoll = now;
            now = vt::TickCount64();
        }
        // Sleeps of at most 15 ms, cut short so the next poll falls due on
        // time; the sleep is also the stop test, so a stop ends the loop at once.
        const std::uint64_t due = lastPoll + kPollPeriodMs;
        const std::uint64_t sleep = due > now ? std::min<std::uint64_t>(due - now, kServiceSleepMs)
                                              : 1;
        if (serviceStop_.Wait(std::chrono::milliseconds(sleep))) return;
    }
}

void CLineDevice::PollOnce() {
    if (!engine_.BeginPoll()) return;
    engine_.EndPoll(transport_.Interrupt_Read());
}

std::uint32_t CLineDevice::ReadStatus() {
    std::uint32_t word = transport_.Interrupt_Read();
    if (autoDial_.load()) word |= status::kDtmfStrobe;
    lastStatus_.store(static_cast<std::uint16_t>(word));
    return word;
}

void CLineDevice::Log(const std::string& text) {
    if (logEnabled_.load()) DiagnosticLog::Write(deviceId_.load(), text);
}

void CLineDevice::Post(vt::UINT message, vt::LPARAM lParam) {
    vt::HWND window = window_.load();
    if (window) window->Post(message, static_cast<std::uint16_t>(deviceId_.load()), lParam);
}

int CLineDevice::ReadCallerId() {
    callerId_.Clear();
    if (!open_.load()) return kNotOpen;
    for (int attempt = 1;; ++attempt) {
        std::uint8_t reply[CallerIdStore::kReplySize] = {};
        if (!transport_.Vendor_Read(Request::ReadCallerId, 0, 0, sizeof reply, reply)) return 0;
        if (reply[0] != 0xFF) {
            if (reply[0] != 0x80) return kBadArgument;  // not a multiple-data message
            callerId_.Parse(reply);
            return kDone;
        }
        if (attempt == kCallerIdTries) return kBadArgument;
        vt::SleepMs(kCallerIdRetryMs);
    }
}

void CLineDevice::StopPlayback() { player_.Stop(); }

void CLineDevice::StopRecording() { recorder_.Stop(); }

int CLineDevice::HeadsetLocation() { return LineCommands(*this).GetHeadsetLoc(); }

void CLineDevice::SetTelMode() { LineCommands(*this).SetHeadSet(1); }

bool CLineDevice::StopStuckWorker() {
    // Asked, not waited for: this runs inside the poll.
    if (ArsRunning()) {
        ars_.Stop(false);
        return true;
    }
    if (Playing()) {
        player_.RequestStop();
        return true;
    }
    if (Recording()) {
        recorder_.RequestStop();
        return true;
    }
    return false;
}

}  // namespace lindev
