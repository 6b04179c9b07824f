#include "RecordingEngine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <vector>

#include "CLineDevice.h"
#include "LineCommands.h"
#include "Protocol.h"
#include "RecordedAudioFeed.h"
#include "RingDrain.h"
#include "lindev/lindev.h"
#include "platform/Tick.h"
#include "speechcodec/WavHeader.h"

namespace lindev {

namespace {

constexpr unsigned kProcessStartPauseMs = 50;
constexpr auto kPassPeriod = std::chrono::milliseconds(30);
// A stop sent before the data thread reached the driver is lost: it is
// repeated until the transfer has ended; after a second the handles are
// closed, which ends any transfer.
constexpr unsigned kStopRetryMs = 20;
constexpr int kStopRetries = 50;
constexpr std::uint64_t kMaxWavData = 0xFFFFFFFFull - 36;

// The recording file, written without a user-space buffer: each pass's
// payloads reach the file before the pass ends, so a killed program loses at
// most the pass in hand, and `written` counts only bytes the file took.
class RecordFile {
public:
    // Creates (or empties) the file, private to the user; never through a
    // link someone put in its place, and an older file keeps no wider mode.
    explicit RecordFile(const char* path)
        : fd_(::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600)) {
        if (fd_ >= 0) ::fchmod(fd_, 0600);
    }
    ~RecordFile() { Close(); }
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    // Appends what it can; false (errno set) when not all of it went in.
    bool Append(const std::uint8_t* data, std::size_t length) {
        while (length > 0) {
            const ssize_t n = ::write(fd_, data, length);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                if (n == 0) errno = ENOSPC;
                return false;
            }
            written += static_cast<std::uint64_t>(n);
            data += n;
            length -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool WriteAt(const std::uint8_t* data, std::size_t length, off_t offset) {
        return ::pwrite(fd_, data, length, offset) == static_cast<ssize_t>(length);
    }

    bool Close() {
        if (fd_ < 0) return true;
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

    std::uint64_t written = 0;

private:
    int fd_;
};

TY_RECORDAUDIO AudioOf(const LineAudioDetector::Marks& m, int mode, bool running) {
    auto ms = [](std::uint64_t frames) {
        return static_cast<unsigned>(frames * LineAudioDetector::kFrameMs);
    };
    TY_RECORDAUDIO a{};
    a.recording = running ? 1 : 0;
    a.mode = mode;
    a.dataBytes = static_cast<unsigned>(m.bytes);
    a.audioMs = ms(m.frames);
    a.silenceMs = ms(m.silenceFrames);
    a.keepBytes = static_cast<unsigned>(m.keepBytes);
    a.keepMs = ms(m.keepFrame);
    a.busyTone = m.busy ? 1 : 0;
    a.busyBytes = static_cast<unsigned>(m.busyBytes);
    a.busyMs = ms(m.busyFrame);
    return a;
}

}  // namespace

// What one recording's two threads share; the ring goes with the last of them.
struct RecordingEngine::Run {
    std::unique_ptr<std::uint8_t[]> ring{new std::uint8_t[RingDrain::kRingBytes]()};
    std::string path;
    int mode = 0;
    int watchSilenceMs = -1;  // -1: not watched
};

RecordingEngine::RecordingEngine(CLineDevice& device) : device_(device) {}

RecordingEngine::~RecordingEngine() { EndThreads(); }

void RecordingEngine::EndThreads() {
    std::lock_guard lock(control_);
    if (ThreadsRecorded()) StopLocked();
}

int RecordingEngine::ModeForType(int recordType) {
    switch (recordType) {
        case 1: return 3;
        case 2: return 2;
        case 3: return 1;
        default: return 0;
    }
}

bool RecordingEngine::ThreadsRecorded() const {
    return dataThread_.joinable() || processThread_.joinable();
}

void RecordingEngine::Watch(int silenceMs) {
    watchSilenceMs_.store(silenceMs > 0 ? silenceMs : 0);
}

TY_RECORDAUDIO RecordingEngine::Audio() const {
    std::lock_guard lock(audioMutex_);
    return audio_;
}

int RecordingEngine::Start(const char* path, int recordFlag, int mode) {
    std::lock_guard lock(control_);
    // A watch is for the next start alone, whether it starts or not.
    const int watch = watchSilenceMs_.exchange(-1);
    if (!device_.IsOpen()) return kNotOpen;
    if (Recording() || device_.Playing() || device_.ArsRunning()) return kBusyOrAlready;
    const std::size_t length = path ? ::strnlen(path, kPathSize) : 0;
    if (length < 4) return kBadArgument;
    if (length >= kPathSize) {
        device_.Log("RecordStart() refused: the path is longer than 259 bytes");
        return kBadArgument;
    }
    auto run = std::make_shared<Run>();
    run->path.assign(path, length);
    run->mode = mode;
    run->watchSilenceMs = watch;
    {
        std::lock_guard audioLock(audioMutex_);
        audio_ = TY_RECORDAUDIO{};
        audio_.mode = mode;
    }
    device_.Log("RecordStart() file=" + run->path);

    if (ThreadsRecorded()) StopLocked();

    if (!device_.Transport().Vendor_Read(Request::StartRecord, recordFlag ? 1 : 0,
                                         static_cast<std::uint16_t>(mode), 0, nullptr)) {
        device_.Log("Record() FAILED 2. WM_TY_THREADNOTIFY 1L");
        device_.PostMessage(WM_TY_THREADNOTIFY, 1);
        recording_.store(0);
        return 0;
    }
    recordDone_.Reset();
    dataEnded_.store(false);
    stopRequestSent_.store(false);
    try {
        dataThread_ = std::thread(&RecordingEngine::DataThread, this, run);
    } catch (const std::system_error&) {
        dataEnded_.store(true);
        return 0;
    }
    try {
        processThread_ = std::thread(&RecordingEngine::ProcessThread, this, run);
    } catch (const std::system_error&) {
        StopLocked();
        return 0;
    }
    return kDone;
}

void RecordingEngine::DataThread(std::shared_ptr<Run> run) {
    device_.Log("RecordDataThread()");
    device_.Transport().IntRecord_Start(run->ring.get(), RingDrain::kRingBytes);
    dataEnded_.store(true);
    recordDone_.Set();
}

void RecordingEngine::SendStopRequests(bool withStopRequest) {
    CTyCtiInstance& t = device_.Transport();
    device_.Log(t.IntRecord_Stop() ? "call IntRecord_Stop(). return true."
                                   : "call IntRecord_Stop(). return false.");
    if (withStopRequest && device_.Engine().CurrentWord() != status::kUnreadable &&
        !stopRequestSent_.exchange(true))
        t.Vendor_Read(Request::StopRecord, 0, 0, 0, nullptr);
}

bool RecordingEngine::AdapterRecording() {
    // A recording that an earlier run of the program started (and then
    // died) streams on into a ring nobody drains: it is ended as well.
    const std::uint32_t word = device_.Transport().Interrupt_Read();
    return word != 0xFFFFFFFFu && (word & status::kRecording);
}

bool RecordingEngine::ShouldStopForHook() {
    const std::uint32_t word = device_.Transport().Interrupt_Read();
    if (word == 0xFFFFFFFFu) return false;
    const int location = LineCommands(device_).GetHeadsetLoc();
    const bool offHook = (word & status::kOffHook) != 0;
    return (offHook && location == 2) || (!offHook && location == 1);
}

void RecordingEngine::ProcessThread(std::shared_ptr<Run> run) {
    vt::SleepMs(kProcessStartPauseMs);
    device_.Log("RecordProcessThread(). ");
    const bool monitored = run->mode == 1;
    if (monitored) monitor_.Clear();
    RecordFile file(run->path.c_str());
    if (!file.IsOpen()) {
        device_.Log("Record() FAILED 1. WM_TY_THREADNOTIFY 1L");
        device_.PostMessage(WM_TY_THREADNOTIFY, 1);
        recording_.store(0);
        return;
    }
    const bool wav = run->mode == 0;
    bool writeFailed = false;
    int writeError = 0;
    if (wav) {
        const auto header = speechcodec::WavHeader::Make(speechcodec::WavEncoding::MuLaw, 0);
        writeFailed = !file.Append(header.data(), header.size());
        if (writeFailed) writeError = errno;
    }
    const std::uint64_t headerBytes = file.written;
    recording_.store(1);

    RingDrain drain;
    std::vector<std::uint8_t> pass;  // one pass's payloads, written at once
    bool badCountLogged = false;
    // The adapter is asked to stop from here when the line or the disk says so.
    auto stopHere = [&] {
        if (recording_.exchange(0)) SendStopRequests(true);
    };
    auto sink = [&](const std::uint8_t* payload, std::size_t length) {
        pass.insert(pass.end(), payload, payload + length);
        if (monitored)
            if (const std::uint8_t* chunk = monitor_.Add(payload, length))
                device_.PostMessage(WM_TY_RECORDDATA, reinterpret_cast<vt::LPARAM>(chunk));
    };
    auto dataLength = [&] { return file.written - headerBytes; };
    RecordedAudioFeed heard(run->mode);
    bool silenceNoticed = false, busyNoticed = false;
    // Judges what reached the file and tells the application what it asked for.
    auto judge = [&](const std::uint8_t* data, std::size_t length) {
        heard.Add(data, length);
        const LineAudioDetector::Marks& m = heard.Detector().Current();
        const TY_RECORDAUDIO now = AudioOf(m, run->mode, recording_.load() != 0);
        {
            std::lock_guard audioLock(audioMutex_);
            audio_ = now;
        }
        if (run->watchSilenceMs < 0)
            return;
        if (run->watchSilenceMs > 0 && !silenceNoticed &&
            now.silenceMs >= static_cast<unsigned>(run->watchSilenceMs)) {
            silenceNoticed = true;
            device_.Log("Record() silence " + std::to_string(now.silenceMs) +
                        " ms. WM_TY_RECORDWATCH 1L");
            device_.PostMessage(WM_TY_RECORDWATCH, kRecordWatchSilence);
        }
        if (m.busy && !busyNoticed) {
            busyNoticed = true;
            device_.Log("Record() busy tone at " + std::to_string(now.busyMs) +
                        " ms. WM_TY_RECORDWATCH 2L");
            device_.PostMessage(WM_TY_RECORDWATCH, kRecordWatchBusy);
        }
    };
    auto writePass = [&] {
        if (pass.empty() || writeFailed) return;
        std::size_t length = pass.size();
        if (wav && dataLength() + length > kMaxWavData) {
            length = static_cast<std::size_t>(kMaxWavData - dataLength());
            writeFailed = true;
            writeError = EFBIG;
        }
        const std::uint64_t before = file.written;
        if (!file.Append(pass.data(), length)) {
            writeFailed = true;
            writeError = errno;
        }
        judge(pass.data(), static_cast<std::size_t>(file.written - before));
        pass.clear();
    };

    bool last = recordDone_.Wait(std::chrono::milliseconds(0));
    for (;;) {
        if (recording_.load() && ShouldStopForHook()) {
            stopHere();
            last = true;  // leaves after this pass; the stopper waits for us
        }
        const std::uint32_t count = device_.Transport().IntRecord_Read();
        if (count != 0xFFFFFFFFu) {
            const RingDrain::Pass drained = drain.Drain(run->ring.get(), count, sink);
            if (drained.badCount && !badCountLogged) {
                badCountLogged = true;
                device_.Log("Record() ring count " + std::to_string(count) +
                            " lies outside the ring; ignored");
            }
            if (drained.lapped)
                device_.Log("Record() ring lapped: " + std::to_string(drained.lost) +
                            " records were overwritten before they were saved");
        }
        writePass();
        if (writeFailed && recording_.load()) {
            device_.Log("Record() FAILED 3. cannot write " + run->path + ": " +
                        std::strerror(writeError) + ". WM_TY_THREADNOTIFY 1L");
            stopHere();
            last = true;
        }
        if (last) break;
        last = recordDone_.Wait(kPassPeriod);
    }

    // The header tells what the file holds: the bytes that reached it.
    bool finished = true;
    if (wav && headerBytes > 0) {
        const auto header = speechcodec::WavHeader::Make(speechcodec::WavEncoding::MuLaw,
                                                         static_cast<std::uint32_t>(dataLength()));
        finished = file.WriteAt(header.data(), header.size(), 0);
    }
    finished = file.Close() && finished;
    struct stat st {};
    if (!finished || ::stat(run->path.c_str(), &st) != 0)
        device_.Log("Record() FAILED 4. the file " + run->path + " could not be finished");
    recording_.store(0);
    {
        std::lock_guard audioLock(audioMutex_);
        audio_.recording = 0;
    }
    char text[128];
    std::snprintf(text, sizeof text, "Record() End. WM_TY_THREADNOTIFY 1L FileSize=%d RecMode=%x",
                  static_cast<int>(dataLength()), run->mode);
    device_.Log(text);
    device_.PostMessage(WM_TY_THREADNOTIFY, 1);
}

int RecordingEngine::Stop() {
    std::lock_guard lock(control_);
    return StopLocked();
}

void RecordingEngine::RequestStop() {
    if (recording_.exchange(0)) device_.Transport().IntRecord_Stop();
}

int RecordingEngine::StopLocked() {
    device_.Log("RecordStop().");
    const bool open = device_.IsOpen();
    if (!open) {
        device_.Log("RecordStop() return 0xFF.");
    } else {
        // A recording whose file failed leaves the flag clear but the adapter
        // recording: it is told to stop too, or it would refuse every hook-off.
        const bool wasRecording = recording_.exchange(0) != 0;
        const bool orphan = !ThreadsRecorded() && !wasRecording && AdapterRecording();
        if (orphan) stopRequestSent_.store(false);
        SendStopRequests(ThreadsRecorded() || wasRecording || orphan);
    }
    // Both threads end: the transfer first (its end lets the process thread
    // make its last pass), then the process thread.
    if (dataThread_.joinable()) {
        CTyCtiInstance& t = device_.Transport();
        for (int i = 0; !dataEnded_.load(); ++i) {
            if (i == kStopRetries) t.Device_Close();
            vt::SleepMs(kStopRetryMs);
            if (!dataEnded_.load() && i < kStopRetries) t.IntRecord_Stop();
        }
        dataThread_.join();
    }
    if (processThread_.joinable()) processThread_.join();
    device_.Engine().ClearRecordStopLatch();
    return open ? kDone : 0;
}

}  // namespace lindev
