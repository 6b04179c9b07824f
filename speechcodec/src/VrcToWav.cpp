#include "speechcodec/VrcToWav.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "speechcodec/TrcModule.h"
#include "speechcodec/VrcWalker.h"
#include "speechcodec/WavHeader.h"

namespace speechcodec {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool WriteHeader(std::FILE* out, std::uint64_t dataLength) {
    const auto length =
        static_cast<std::uint32_t>(dataLength > UINT32_MAX - 36 ? UINT32_MAX - 36 : dataLength);
    const auto header = WavHeader::Make(WavEncoding::Pcm16, length);
    return std::fseek(out, 0, SEEK_SET) == 0 &&
           std::fwrite(header.data(), 1, header.size(), out) == header.size();
}

}  // namespace

VrcToWavResult ConvertVrcToWav(const VrcToWavJob& job, const std::function<void(int)>& progress,
                               const std::atomic<bool>* cancel) {
    TrcModule codec;
    if (!codec.Load())
        return VrcToWavResult::NoCodec;
    codec.vInitDecoder();
    codec.vSet_volume(job.volume, job.volume);

    std::vector<std::uint8_t> data;
    if (!ReadWholeFile(job.source, data))
        return VrcToWavResult::CannotRead;
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(job.destination.c_str(), "wb"));
    if (!out || !WriteHeader(out.get(), 0))
        return VrcToWavResult::CannotCreate;

    unsigned char frame[kFrameBufferBytes] = {};
    unsigned char pcm[kFrameBytes];
    std::uint64_t dataLength = 0;
    int lastProgress = -1;
    VrcWalker walker(data);
    VrcRecord record;
    while (walker.Next(record)) {
        if (cancel && *cancel)
            return VrcToWavResult::Cancelled;
        LoadDecoderFrame(record, frame);
        for (std::uint32_t i = 0; i < record.frames; ++i) {
            codec.vDecode(pcm, frame);
            if (std::fwrite(pcm, 1, sizeof pcm, out.get()) != sizeof pcm)
                return VrcToWavResult::CannotCreate;
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
        return VrcToWavResult::CannotCreate;
    if (std::fclose(out.release()) != 0)
        return VrcToWavResult::CannotCreate;
    return VrcToWavResult::Ok;
}

}  // namespace speechcodec
