#include "mp3conv/Mp3Conv.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <string>
#include <vector>

#include "LameEncoder.h"
#include "WavSource.h"

namespace {

using vt::mp3::LameEncoder;
using vt::mp3::WavSource;

// Samples read per encoding step: a quarter second at 8 kHz.
constexpr std::size_t kFramesPerStep = 2048;
// Progress is posted about this many times per file (plus first and last).
constexpr std::uint64_t kProgressSteps = 1000;

// Posts done/total, both scaled down together while total exceeds lParam.
class ProgressReporter {
public:
    ProgressReporter(vt::HWND window, std::uint64_t total) : window_(window), total_(total) {}

    void Report(std::uint64_t done, bool force) {
        const std::uint64_t step = total_ ? done * kProgressSteps / total_ : kProgressSteps;
        if (!force && step == lastStep_)
            return;
        lastStep_ = step;
        if (!window_)
            return;
        std::uint64_t d = done;
        std::uint64_t t = total_;
        while (t > static_cast<std::uint64_t>(INT32_MAX)) {
            d >>= 1;
            t >>= 1;
        }
        window_->Post(Mp3Progress, static_cast<vt::WPARAM>(d), static_cast<vt::LPARAM>(t));
    }

private:
    vt::HWND window_;
    std::uint64_t total_;
    std::uint64_t lastStep_ = UINT64_MAX;
};

// The output file, under a temporary name until Commit.
class PendingFile {
public:
    explicit PendingFile(std::string target) : target_(std::move(target)) {}
    ~PendingFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!committed_ && !temp_.empty())
            ::unlink(temp_.c_str());
    }

    bool Create() {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            temp_ = target_ + ".part" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter.fetch_add(1));
            fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST)
                break;
        }
        if (fd_ < 0)
            temp_.clear();
        return fd_ >= 0;
    }

    bool Write(std::vector<std::uint8_t>& bytes) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + at, bytes.size() - at);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            at += static_cast<std::size_t>(n);
        }
        bytes.clear();
        return true;
    }

    bool WriteAtStart(const std::vector<std::uint8_t>& bytes) {
        return ::pwrite(fd_, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
    }

    bool Commit() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            return false;
        if (::rename(temp_.c_str(), target_.c_str()) != 0)
            return false;
        committed_ = true;
        return true;
    }

private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool committed_ = false;
};

bool SameFile(const char* a, const char* b) {
    struct stat sa, sb;
    if (::stat(a, &sa) != 0 || ::stat(b, &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int Convert(vt::HWND window, const char* wavPath, const char* mp3Path) {
    if (!wavPath || !*wavPath || !mp3Path || !*mp3Path)
        return kMp3BadArgument;
    if (SameFile(wavPath, mp3Path))
        return kMp3SameFile;
    WavSource source;
    switch (source.Open(wavPath)) {
        case WavSource::OpenResult::CannotOpen:
            return kMp3CannotOpen;
        case WavSource::OpenResult::NotWav:
            return kMp3NotWav;
        case WavSource::OpenResult::Ok:
            break;
    }
    LameEncoder encoder;
    if (!encoder.Start(source.SampleRate(), source.Channels(), kMp3BitRateKbps))
        return kMp3EncoderFailed;
    PendingFile output(mp3Path);
    if (!output.Create())
        return kMp3CannotCreate;

    ProgressReporter progress(window, source.DataBytes());
    progress.Report(0, true);
    std::vector<std::int16_t> samples;
    std::vector<std::uint8_t> coded;
    for (;;) {
        samples.clear();
        const long frames = source.Read(kFramesPerStep, samples);
        if (frames < 0)
            return kMp3ReadFailed;
        if (frames == 0)
            break;
        if (!encoder.Encode(samples, coded))
            return kMp3EncoderFailed;
        if (!output.Write(coded))
            return kMp3WriteFailed;
        progress.Report(source.BytesRead(), false);
    }
    if (!encoder.Finish(coded))
        return kMp3EncoderFailed;
    if (!output.Write(coded))
        return kMp3WriteFailed;
    const auto tag = encoder.TagFrame();
    if (!tag.empty() && !output.WriteAtStart(tag))
        return kMp3WriteFailed;
    if (!output.Commit())
        return kMp3WriteFailed;
    progress.Report(source.DataBytes(), true);
    return kMp3Ok;
}

}  // namespace

extern "C" int Kvne_WavtoMp3(vt::HWND window, const char* wavPath, const char* mp3Path) {
    try {
        return Convert(window, wavPath, mp3Path);
    } catch (...) {
        return kMp3EncoderFailed;  // out of memory: nothing crosses the boundary
    }
}

extern "C" const char* Kvne_Mp3ResultText(int result) {
    switch (result) {
        case kMp3Ok:
            return "converted";
        case kMp3BadArgument:
            return "no file name given";
        case kMp3CannotOpen:
            return "the WAV file cannot be opened";
        case kMp3NotWav:
            return "not a WAV file of 8-bit or 16-bit PCM or mu-law sound";
        case kMp3CannotCreate:
            return "the MP3 file cannot be created";
        case kMp3EncoderFailed:
            return "the MP3 encoder failed";
        case kMp3ReadFailed:
            return "reading the WAV file failed";
        case kMp3WriteFailed:
            return "writing the MP3 file failed";
        case kMp3SameFile:
            return "the MP3 file would replace its own source";
    }
    return "unknown failure";
}
