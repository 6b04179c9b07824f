#include "PlaybackEngine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "CLineDevice.h"
#include "Protocol.h"
#include "lindev/lindev.h"
#include "platform/Tick.h"

namespace lindev {

namespace {

constexpr unsigned kStartPauseMs = 50;
constexpr unsigned kThreadStartPauseMs = 200;
constexpr std::uint32_t kBlock = 64;
constexpr std::uint32_t kStopBlock = 50;
constexpr std::size_t kBufferSize = 128;
constexpr std::uint32_t kRefusingBits = status::kPlaying | status::kRecording | status::kDialling;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The file's length, or -1.
long LengthOf(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return length;
}

}  // namespace

PlaybackEngine::PlaybackEngine(CLineDevice& device) : device_(device) {}

PlaybackEngine::~PlaybackEngine() { EndThread(); }

void PlaybackEngine::EndThread() {
    std::lock_guard lock(control_);
    if (!thread_.joinable()) return;
    RequestStop();
    thread_.join();
    playing_.store(0);
}

bool PlaybackEngine::MayStart() {
    vt::SleepMs(kStartPauseMs);
    if (device_.ReadStatus() & kRefusingBits) return false;
    return !(Playing() || device_.Recording() || device_.ArsRunning());
}

int PlaybackEngine::WaveOut(const char* path, bool synchronous, bool raw) {
    if (!MayStart()) return 0;
    Job job;
    job.path = path ? path : "";
    job.raw = raw;
    if (!synchronous) return StartThread(job) == kDone ? 1 : 0;
    if (!device_.IsOpen() || job.path.size() >= kPathSize) return 0;
    {
        std::lock_guard lock(control_);
        if (Playing()) return 0;
        stopRequested_.store(0);
        playStop_.Reset();
    }
    // On the caller's thread; a stop from another thread still ends it.
    WholeFile(job);
    return 1;
}

int PlaybackEngine::WaveOutSub(const char* path, int offset, bool raw) {
    if (!MayStart()) return 0;
    // A compressed file cannot be positioned; refused rather than started
    // as a thread that would end without a word.
    if (raw) {
        device_.Log("PlaySub() refused: a raw file cannot be played from an offset");
        return 0;
    }
    Job job;
    job.path = path ? path : "";
    job.offset = offset;
    job.positioned = true;
    return StartThread(job) == kDone ? 1 : 0;
}

int PlaybackEngine::StartThread(const Job& job) {
    std::lock_guard lock(control_);
    device_.Log(job.positioned ? "PlaySub()." : "Play().");
    if (job.path.size() >= kPathSize) {
        device_.Log("Play() refused: the path is longer than 259 bytes");
        return kBadArgument;
    }
    if (!device_.IsOpen()) return kNotOpen;
    if (Playing() || device_.Recording() || device_.ArsRunning()) return kBusyOrAlready;
    if (thread_.joinable()) thread_.join();  // a finished earlier playback
    playStop_.Reset();
    stopRequested_.store(0);
    playing_.store(1);
    threadEnded_.store(false);
    try {
        thread_ = std::thread([this, job] {
            if (job.positioned)
                Positioned(job);
            else
                WholeFile(job);
            threadEnded_.store(true);
        });
    } catch (const std::system_error&) {
        playing_.store(0);
        threadEnded_.store(true);
        return 0;
    }
    vt::SleepMs(kThreadStartPauseMs);
    return kDone;
}

bool PlaybackEngine::StopAsked(bool pauseToo) {
    return stopRequested_.load() || (pauseToo && paused_.load()) ||
           playStop_.Wait(std::chrono::milliseconds(0));
}

void PlaybackEngine::SendStopBlock(std::uint8_t* buffer) {
    device_.Transport().Bulk_OUT(buffer, kStopBlock);
}

void PlaybackEngine::Finish(const char* text, vt::LPARAM lParam) {
    device_.Log(text);
    device_.PostMessage(WM_TY_THREADNOTIFY, lParam);
}

void PlaybackEngine::WholeFile(const Job& job) {
    playing_.store(1);
    File file(std::fopen(job.path.c_str(), "rb"));
    // Failures leave the slot free for the next playback or recording.
    if (!file) return Finish("Message1. WM_TY_THREADNOTIFY 0L", 0), playing_.store(0);
    const long length = LengthOf(file.get());
    if (length < 0) return Finish("Message2. WM_TY_THREADNOTIFY 0L", 0), playing_.store(0);
    if (length < kShortestFile) return Finish("Message3. WM_TY_THREADNOTIFY 0L", 0), playing_.store(0);

    std::uint8_t buffer[kBufferSize] = {};
    std::uint32_t n = static_cast<std::uint32_t>(length);
    if (!job.raw) {
        if (std::fread(buffer, 1, kHeaderSkip, file.get()) != kHeaderSkip) n = kHeaderSkip;
        n -= kHeaderSkip;
    }
    CTyCtiInstance& t = device_.Transport();
    std::uint8_t format = job.raw ? 1 : 0;
    if (!t.Vendor_Write(Request::StartPlayback, static_cast<std::uint16_t>(n & 0xFFFF),
                        static_cast<std::uint16_t>(n >> 16), 1, &format)) {
        Finish("Message4. WM_TY_THREADNOTIFY 0L", 0);
        playing_.store(0);
        return;
    }
    if (n > kBlock) {
        std::uint32_t remaining = n;
        std::uint32_t before;
        do {
            before = remaining;
            const std::uint32_t block = std::min(kBlock, remaining);
            if (StopAsked(true)) {
                SendStopBlock(buffer);
                break;
            }
            const std::size_t got = std::fread(buffer, 1, block, file.get());
            if (got < block) std::memset(buffer + got, 0, block - got);
            const std::uint32_t accepted = t.Bulk_OUT(buffer, block);
            // The adapter is gone: nothing more will be taken.
            if (accepted == 0 && !t.IsOpen()) break;
            remaining -= std::min(accepted, remaining);
        } while (before > kBlock);
    }
    if (!stopRequested_.load() && !paused_.load()) playing_.store(0);
    Finish("Message5. WM_TY_THREADNOTIFY 0L", 0);
    stopRequested_.store(0);
    paused_.store(0);
}

void PlaybackEngine::Positioned(const Job& job) {
    paused_.store(0);
    playing_.store(1);
    File file(std::fopen(job.path.c_str(), "rb"));
    if (!file) return Finish("Message6. WM_TY_THREADNOTIFY 0L", 0), playing_.store(0);
    const long length = LengthOf(file.get());
    if (length < 0) return Finish("Message7. WM_TY_THREADNOTIFY 0L", 0), playing_.store(0);
    if (length < kShortestFile) return Finish("Message8. WM_TY_THREADNOTIFY 0L", 0), playing_.store(0);

    std::uint8_t buffer[kBufferSize] = {};
    std::fread(buffer, 1, kHeaderSkip, file.get());
    const long offset = std::clamp(job.offset, kHeaderSkip, length);
    const std::uint32_t count = static_cast<std::uint32_t>(length - offset);
    CTyCtiInstance& t = device_.Transport();
    std::uint8_t format = 0;
    if (!t.Vendor_Write(Request::StartPlayback, static_cast<std::uint16_t>(count & 0xFFFF),
                        static_cast<std::uint16_t>(count >> 16), 1, &format)) {
        Finish("Message9. WM_TY_THREADNOTIFY 0L", 0);
        playing_.store(0);
        return;
    }
    for (long skip = offset - kHeaderSkip; skip > 0;) {
        const std::size_t piece = static_cast<std::size_t>(std::min<long>(skip, kBufferSize));
        if (std::fread(buffer, 1, piece, file.get()) != piece) break;
        skip -= static_cast<long>(piece);
    }
    std::uint32_t progress = static_cast<std::uint32_t>(offset);
    std::uint32_t remaining = count;
    while (remaining > 0) {
        if (StopAsked(true)) {
            SendStopBlock(buffer);
            break;
        }
        const std::uint32_t block = std::min(kBlock, remaining);
        const std::size_t got = std::fread(buffer, 1, block, file.get());
        if (got < block) std::memset(buffer + got, 0, block - got);
        const std::uint32_t accepted = t.Bulk_OUT(buffer, block);
        if (accepted == 0 && !t.IsOpen()) break;
        progress += accepted;
        remaining -= std::min(accepted, remaining);
        device_.PostMessage(WM_TY_PLAYPROGRESS, static_cast<vt::LPARAM>(progress));
    }
    if (!stopRequested_.load() && !paused_.load()) playing_.store(0);
    if (paused_.load() && remaining > 0)
        Finish("Message10. WM_TY_THREADNOTIFY 5L", 5);
    else
        Finish("Message11. WM_TY_THREADNOTIFY 0L", 0);
    stopRequested_.store(0);
}

int PlaybackEngine::Stop() {
    std::lock_guard lock(control_);
    if (!device_.IsOpen()) {
        // Closed underneath: the thread still ends (its transfers fail).
        RequestStop();
        if (thread_.joinable()) thread_.join();
        playing_.store(0);
        device_.Engine().ClearPlayStopLatch();
        return kNotOpen;
    }
    device_.Log("PlayStop().");
    int result = kBusyOrAlready;
    if (Playing()) {
        stopRequested_.store(1);
        playStop_.Set();
        if (thread_.joinable()) thread_.join();
        result = kDone;
    } else {
        if (thread_.joinable()) thread_.join();  // it has ended by itself
        paused_.store(0);
        Finish("Play(). WM_TY_THREADNOTIFY 0L", 0);
    }
    playing_.store(0);
    device_.Engine().ClearPlayStopLatch();
    return result;
}

int PlaybackEngine::Pause() {
    std::lock_guard lock(control_);
    if (!device_.IsOpen()) return kNotOpen;
    if (!thread_.joinable() || threadEnded_.load()) {
        if (thread_.joinable()) thread_.join();
        playing_.store(0);
        return kBusyOrAlready;
    }
    paused_.store(1);
    playStop_.Set();
    thread_.join();
    playing_.store(0);
    return kDone;
}

void PlaybackEngine::RequestStop() {
    stopRequested_.store(1);
    playStop_.Set();
}

}  // namespace lindev
