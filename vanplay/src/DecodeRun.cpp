#include "vanplay/DecodeRun.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "speechcodec/TrcModule.h"
#include "speechcodec/VrcWalker.h"
#include "speechcodec/WavHeader.h"
#include "vanplay/PlayerIds.h"

namespace vanplay {

namespace sc = speechcodec;

const char* DecodeResultLabel(int result) {
    switch (result) {
        case kDecodeOk:
            return "";
        case kDecodeNoCodec:
            return "  변환 실패: 코덱 없음";
        case kDecodeCannotRead:
            return "  변환 실패: 파일을 읽을 수 없음";
        case kDecodeCannotCreate:
            return "  변환 실패: 임시 파일 쓰기 오류";
    }
    return "  변환 실패";
}

const char* DecodeResultReason(int result) {
    switch (result) {
        case kDecodeOk:
            return "decoded";
        case kDecodeNoCodec:
            return "the codec library libtrc.so or one of its entry points is missing";
        case kDecodeCannotRead:
            return "the compressed recording cannot be read";
        case kDecodeCannotCreate:
            return "the decoded WAV file cannot be written";
        case kDecodeCancelled:
            return "cancelled";
    }
    return "decoding failed";
}

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool WriteHeader(std::FILE* out, std::uint64_t dataLength) {
    const auto length =
        static_cast<std::uint32_t>(dataLength > UINT32_MAX - 36 ? UINT32_MAX - 36 : dataLength);
    const auto header = sc::WavHeader::Make(sc::WavEncoding::Pcm16, length);
    return std::fseek(out, 0, SEEK_SET) == 0 &&
           std::fwrite(header.data(), 1, header.size(), out) == header.size();
}

}  // namespace

int DecodeRun::Convert(const DecodeJob& job, const std::function<void(int)>& progress,
                       const std::atomic<bool>* cancel) {
    sc::TrcModule codec;
    if (!codec.Load())
        return kDecodeNoCodec;
    codec.vInitDecoder();
    codec.vSet_volume(job.volume, job.volume);

    std::vector<std::uint8_t> data;
    if (!sc::ReadWholeFile(job.source, data))
        return kDecodeCannotRead;
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(job.destination.c_str(), "wb"));
    if (!out || !WriteHeader(out.get(), 0))
        return kDecodeCannotCreate;

    unsigned char frame[sc::kFrameBufferBytes] = {};
    unsigned char pcm[sc::kFrameBytes];
    std::uint64_t dataLength = 0;
    int lastProgress = -1;
    sc::VrcWalker walker(data);
    sc::VrcRecord record;
    while (walker.Next(record)) {
        if (cancel && *cancel)
            return kDecodeCancelled;
        sc::LoadDecoderFrame(record, frame);
        for (std::uint32_t i = 0; i < record.frames; ++i) {
            codec.vDecode(pcm, frame);
            if (std::fwrite(pcm, 1, sizeof pcm, out.get()) != sizeof pcm)
                return kDecodeCannotCreate;
            dataLength += sizeof pcm;
        }
        const int value = static_cast<int>(static_cast<std::uint64_t>(job.progressScale) *
                                           walker.Offset() / data.size());
        if (value != lastProgress && progress)
            progress(value);
        lastProgress = value;
    }
    // A last record that the file cuts short has no sound to give: the
    // recording is decoded up to it.
    if (!WriteHeader(out.get(), dataLength) || std::fflush(out.get()) != 0)
        return kDecodeCannotCreate;
    if (std::fclose(out.release()) != 0)
        return kDecodeCannotCreate;
    return kDecodeOk;
}

DecodeRun::DecodeRun(DecodeJob job, vt::HWND window, vt::WPARAM serial)
    : job_(std::move(job)), window_(window), serial_(serial) {}

DecodeRun::~DecodeRun() {
    Cancel();
    Join();
}

bool DecodeRun::Start() {
    try {
        thread_ = std::thread([this] {
            const int result = Convert(
                job_,
                [this](int value) {
                    if (window_)
                        window_->Post(WM_TY_CODECPROGRESS, serial_, value);
                },
                &cancel_);
            result_ = result;
            finished_ = true;
            if (window_)
                window_->Post(WM_TY_CODECDONE, serial_, result == kDecodeOk ? 0 : 1);
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void DecodeRun::Join() {
    if (thread_.joinable())
        thread_.join();
}

}  // namespace vanplay
