#include "AutoDialer.h"

#include <system_error>

#include "CLineDevice.h"
#include "LineCommands.h"
#include "Protocol.h"
#include "lindev/lindev.h"
#include "platform/Tick.h"

namespace lindev {

namespace {

constexpr int kOffHookPauseMs = 800;
constexpr int kDefaultExtensionPauseMs = 600;
constexpr int kSmallestDelay = 200;
constexpr int kAfterNumberPauseMs = 1000;
constexpr std::uint32_t kThreadRefusingBits =
    status::kOffHook | status::kPlaying | status::kRecording | status::kDialling;  // 0x470

}  // namespace

AutoDialer::AutoDialer(CLineDevice& device) : device_(device) {}

AutoDialer::~AutoDialer() { Stop(); }

int AutoDialer::NormaliseDelay(int delay) {
    if (delay < 1) return 0;
    return delay < kSmallestDelay ? kSmallestDelay : delay;
}

bool AutoDialer::Fits(const Request& request) {
    if (request.extension.size() <= kMaxExtension && request.number.size() <= kMaxNumber)
        return true;
    device_.Log("AutoDial() refused: the extension (at most 10) or the number (at most 48) is "
                "too long");
    return false;
}

bool AutoDialer::Dial(const Request& request) {
    const int delay = NormaliseDelay(request.delay);
    CLineDevice::RedialState& redial = device_.Redial();
    delay_ = delay;
    redial.onTime = request.onTime;
    redial.offTime = request.offTime;
    redial.toneLevel = request.level;
    if (!Fits(request)) return false;
    LineCommands commands(device_);
    if ((device_.ReadStatus() & status::kOffHook) || commands.HookOff() != 1) return false;
    vt::SleepMs(kOffHookPauseMs);
    if (request.useExtension && !request.extension.empty()) {
        redial.extensionText = request.extension;
        if (commands.SendDtmf(request.extension, request.onTime, request.offTime) != kDone)
            return false;
        vt::SleepMs(static_cast<unsigned>(delay ? delay : kDefaultExtensionPauseMs));
        if (!(device_.ReadStatus() & status::kOffHook)) return false;
    }
    if (request.number.empty()) return false;
    redial.numberText = request.number;
    return commands.SendDtmf(request.number, request.onTime, request.offTime) == kDone;
}

int AutoDialer::DialOnThread(const Request& request) {
    std::lock_guard lock(control_);
    if (device_.ReadStatus() & kThreadRefusingBits) return 0;
    // One dial thread at a time: one still ending (the line went on-hook
    // under it) is not replaced.
    if (!threadEnded_.load()) return 0;
    device_.SetAutoDial(true);
    device_.Log("AutoDial().");
    Request job = request;
    CLineDevice::RedialState& redial = device_.Redial();
    bool prepared = device_.IsOpen() && Fits(request) &&
                    !(device_.ReadStatus() & status::kOffHook);
    if (prepared) {
        delay_ = NormaliseDelay(request.delay);
        redial.onTime = request.onTime;
        redial.offTime = request.offTime;
        redial.toneLevel = request.level;
        if (!request.useExtension) job.extension.clear();
        if (!job.extension.empty()) redial.extensionText = job.extension;
        if (request.number.empty()) {
            prepared = false;
        } else {
            redial.numberText = request.number;
        }
    }
    if (!prepared) {
        device_.SetAutoDial(false);
        return 0;
    }
    if (thread_.joinable()) thread_.join();
    stop_.Reset();
    stopRequested_.store(false);
    threadEnded_.store(false);
    try {
        thread_ = std::thread(&AutoDialer::DialThread, this, std::move(job));
    } catch (const std::system_error&) {
        threadEnded_.store(true);
        device_.SetAutoDial(false);
        return 0;
    }
    return 1;
}

bool AutoDialer::Pause(int ms) {
    if (stop_.Wait(std::chrono::milliseconds(ms))) stopRequested_.store(true);
    return !stopRequested_.load();
}

void AutoDialer::Done(int lParam) {
    device_.SetAutoDial(false);
    device_.PostMessage(WM_TY_AUTODIALDONE, lParam);
    threadEnded_.store(true);
}

void AutoDialer::DialThread(Request request) {
    const int delay = NormaliseDelay(request.delay);
    LineCommands commands(device_);
    // Going off-hook here keeps the texts just stored for redial.
    if ((device_.ReadStatus() & status::kOffHook) || commands.HookOff(false) != 1) return Done(255);
    if (!Pause(kOffHookPauseMs)) return Done(255);
    for (char digit : request.extension) {
        if (commands.SendDtmf(std::string(1, digit), request.onTime, request.offTime) != kDone)
            return Done(255);
        if (!Pause(delay ? delay : kDefaultExtensionPauseMs)) return Done(255);
    }
    if (!request.extension.empty() && !(device_.ReadStatus() & status::kOffHook)) return Done(255);
    if (commands.SendDtmf(request.number, request.onTime, request.offTime) != kDone)
        return Done(255);
    if (!Pause(kAfterNumberPauseMs)) return Done(255);
    Done(1);
}

int AutoDialer::Redial() {
    const CLineDevice::RedialState& stored = device_.Redial();
    Request request;
    request.extension = stored.extensionText;
    request.useExtension = !request.extension.empty();
    request.number = stored.numberText;
    request.delay = delay_;
    request.onTime = stored.onTime;
    request.offTime = stored.offTime;
    // Digits keyed one by one and never dialled automatically: their tone time.
    if (request.onTime == 0 && stored.toneTime > 0) request.onTime = stored.toneTime;
    request.level = stored.toneLevel;
    if (request.number.empty()) return 0;
    return Dial(request) ? 1 : 0;
}

void AutoDialer::Stop() {
    std::lock_guard lock(control_);
    stopRequested_.store(true);
    stop_.Set();
    if (thread_.joinable()) thread_.join();
}

}  // namespace lindev
