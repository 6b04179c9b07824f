#include "CodecConversion.h"

#include <vector>

#include "CodecOutputFile.h"
#include "CodecLibrary.h"
#include "lindev/lindev.h"
#include "speechcodec/MuLaw.h"
#include "speechcodec/SilenceRunWriter.h"
#include "speechcodec/VrcWalker.h"
#include "speechcodec/WavHeader.h"
#include "speechcodec/WavReader.h"

namespace lindev {

using namespace speechcodec;

namespace {

// Coded bytes gathered before they are written.
constexpr std::size_t kEncoderFlushBytes = 16 * 1024;

// The numbered log text of the decoder to mu-law for a result, or null.
const char* MuLawFailureText(int result) {
    switch (result) {
        case kCodecNoLibrary:
            return "Decoder1 Failed...1..";
        case kCodecNoSource:
            return "Decoder1 Failed...7..";
        case kCodecBadTarget:
            return "Decoder1 Failed...8..";
        default:
            return nullptr;
    }
}

}  // namespace

CodecConversion::CodecConversion(const CodecJob& job, PostFn post, LogFn log,
                                 const std::atomic<bool>& stop)
    : job_(job), post_(std::move(post)), log_(std::move(log)), stop_(stop) {}

vt::LPARAM CodecConversion::DoneCode(CodecKind kind, int result) {
    if (result == kCodecOk)
        return 0;
    if (kind == CodecKind::Encode && result == kCodecBadTarget)
        return 2;
    return 1;
}

const char* CodecConversion::Name() const {
    switch (job_.kind) {
        case CodecKind::DecodePcm:
            return "Decoder()";
        case CodecKind::DecodeMuLaw:
            return "Decoder1()";
        case CodecKind::Encode:
            return "Encoder()";
    }
    return "";
}

int CodecConversion::Run() {
    log_(std::string(Name()) + ".");
    const int result = job_.kind == CodecKind::Encode ? Encode() : Decode();
    trc_.Release();
    return result;
}

int CodecConversion::Fail(int result, const std::string& reason) {
    if (job_.kind == CodecKind::DecodeMuLaw) {
        if (const char* text = MuLawFailureText(result))
            log_(text);
        log_(std::string(Name()) + " " + reason);
    } else {
        log_(std::string(Name()) + " Failed: " + reason);
    }
    return result;
}

bool CodecConversion::LoadCodec() {
    const std::string path = CodecLibraryPath();
    return path.empty() ? trc_.Load() : trc_.LoadFrom(path);
}

int CodecConversion::Prepare(std::vector<std::uint8_t>& source) {
    if (!LoadCodec())
        return Fail(kCodecNoLibrary, "the codec library cannot be used: " + trc_.Error());
    if (job_.kind == CodecKind::Encode)
        trc_.vInitEncoder();
    else
        trc_.vInitDecoder();
    trc_.vSet_volume(job_.volume, job_.volume);
    std::string error;
    if (!ReadWholeFile(job_.source, source, &error))
        return Fail(kCodecNoSource, error);
    return kCodecOk;
}

void CodecConversion::Progress(std::uint64_t consumed, std::uint64_t total) {
    const std::int64_t scale = job_.scale;
    const vt::LPARAM value =
        total == 0 ? job_.scale
                   : static_cast<vt::LPARAM>(scale * static_cast<std::int64_t>(consumed) /
                                             static_cast<std::int64_t>(total));
    if (value == lastProgress_)
        return;
    lastProgress_ = value;
    post_(WM_TY_CODECPROGRESS, value);
}

int CodecConversion::Decode() {
    const bool muLaw = job_.kind == CodecKind::DecodeMuLaw;
    std::vector<std::uint8_t> source;
    if (const int result = Prepare(source); result != kCodecOk)
        return result;
    CodecOutputFile out;
    if (!out.Create(job_.destination))
        return Fail(kCodecBadTarget, out.Error());
    const WavEncoding encoding = muLaw ? WavEncoding::MuLaw : WavEncoding::Pcm16;
    const WavHeader::Bytes empty = WavHeader::Make(encoding, 0);
    if (!out.Write(empty.data(), empty.size()))
        return Fail(kCodecWriteFailed, out.Error());

    const std::size_t frameOut = muLaw ? kFrameSamples : kFrameBytes;
    // Bytes behind a shorter record keep what an earlier one left there.
    std::uint8_t frame[kFrameBufferBytes] = {};
    std::uint8_t pcm[kFrameBytes];
    std::uint8_t codes[kFrameSamples];
    std::uint64_t dataLength = 0;
    auto emit = [&] {
        trc_.vDecode(pcm, frame);
        if (muLaw)
            MuLawEncodePcmBytes(pcm, kFrameSamples, codes);
        dataLength += frameOut;
        return out.Write(muLaw ? codes : pcm, frameOut);
    };

    VrcWalker walker(source);
    VrcRecord record;
    while (walker.Next(record)) {
        if (stop_.load())
            return Fail(kCodecStopped, "stopped");
        if (dataLength + std::uint64_t{record.frames} * frameOut > kMaxWavData)
            return Fail(kCodecWriteFailed, "the sound is too long for a WAV file");
        LoadDecoderFrame(record, frame);
        bool written = true;
        for (std::uint32_t i = 0; i < record.frames && written; ++i) written = emit();
        if (!written)
            return Fail(kCodecWriteFailed, out.Error());
        Progress(walker.Offset(), source.size());
    }
    if (walker.Truncated())
        log_(std::string(Name()) + " the last record is cut short; its " +
             std::to_string(walker.TruncatedBytes()) + " bytes are left out");
    Progress(source.size(), source.size());

    if (stop_.load())
        return Fail(kCodecStopped, "stopped");
    const WavHeader::Bytes header =
        WavHeader::Make(encoding, static_cast<std::uint32_t>(dataLength));
    if (!out.RewriteStart(header.data(), header.size()) || !out.Close())
        return Fail(kCodecWriteFailed, out.Error());
    return kCodecOk;
}

int CodecConversion::Encode() {
    std::vector<std::uint8_t> source;
    if (const int result = Prepare(source); result != kCodecOk)
        return result;
    WavReader wav;
    if (!wav.Parse(source.data(), source.size()))
        return Fail(kCodecBadTarget, std::string(job_.source) + ": " + wav.Error());
    source.clear();
    source.shrink_to_fit();
    if (wav.DataTruncated())
        log_(std::string(Name()) + " the data chunk is shorter than its header says; " +
             std::to_string(wav.Data().size()) + " bytes are encoded");
    CodecOutputFile out;
    if (!out.Create(job_.destination))
        return Fail(kCodecBadTarget, out.Error());

    const std::vector<std::uint8_t>& samples = wav.Data();
    const std::size_t blocks = samples.size() / kFrameBytes;
    SilenceRunWriter runs;
    std::vector<std::uint8_t> coded;
    coded.reserve(kEncoderFlushBytes + kFrameBufferBytes);
    for (std::size_t i = 0; i < blocks; ++i) {
        if (stop_.load())
            return Fail(kCodecStopped, "stopped");
        std::uint8_t frame[kFrameBufferBytes];
        const int e = trc_.vEncode(samples.data() + i * kFrameBytes, frame, job_.rate, 0);
        if (e < 1 || e > static_cast<int>(kFrameBufferBytes))
            return Fail(kCodecWriteFailed,
                        "the codec returned a frame of " + std::to_string(e) + " bytes");
        if (e == 2 && job_.silence == 1) {
            // Runs longer than one record can hold go out as several records.
            runs.Add(1, coded);
        } else {
            runs.Flush(coded);
            coded.insert(coded.end(), frame, frame + e);
        }
        if (coded.size() >= kEncoderFlushBytes) {
            if (!out.Write(coded.data(), coded.size()))
                return Fail(kCodecWriteFailed, out.Error());
            coded.clear();
        }
        Progress((i + 1) * kFrameBytes, samples.size());
    }
    runs.Flush(coded);
    if (stop_.load())
        return Fail(kCodecStopped, "stopped");
    if (!out.Write(coded.data(), coded.size()) || !out.Close())
        return Fail(kCodecWriteFailed, out.Error());
    Progress(samples.size(), samples.size());
    return kCodecOk;
}

}  // namespace lindev
