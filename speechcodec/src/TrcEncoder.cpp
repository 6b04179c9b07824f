#include "TrcEncoder.h"

#include <cstring>

#include "ComfortNoise.h"
#include "Pcm.h"

namespace speechcodec {
namespace {

RecordKind KindForRate(int rate) {
    switch (rate) {
        case 0:
            return RecordKind::Coded11;
        case 1:
            return RecordKind::Coded18;
        default:
            return RecordKind::Coded24;
    }
}

}  // namespace

void TrcEncoder::Reset() {
    opus_.Reset();
    codec2_.Reset();
    detector_.Reset();
    volume_ = 1024;
}

void TrcEncoder::SetVolume(int volume) {
    volume_ = ClampVolume(volume);
}

int TrcEncoder::Encode(const std::int16_t* pcm, int rate, std::uint8_t* out) {
    std::int16_t frame[kFrameSamples];
    std::memcpy(frame, pcm, sizeof frame);
    ScaleSamples(frame, kFrameSamples, volume_);
    switch (detector_.Classify(frame, kFrameSamples)) {
        case SilenceDetector::FrameClass::Silent:
            return EncodeScaled(RecordKind::SilenceRun, frame, out);
        case SilenceDetector::FrameClass::Noise:
            return EncodeScaled(RecordKind::ComfortNoise, frame, out);
        case SilenceDetector::FrameClass::Speech:
            break;
    }
    return EncodeScaled(KindForRate(rate), frame, out);
}

int TrcEncoder::EncodeAs(RecordKind kind, const std::int16_t* pcm, std::uint8_t* out) {
    std::int16_t frame[kFrameSamples];
    std::memcpy(frame, pcm, sizeof frame);
    ScaleSamples(frame, kFrameSamples, volume_);
    return EncodeScaled(kind, frame, out);
}

int TrcEncoder::EncodeScaled(RecordKind kind, const std::int16_t* frame, std::uint8_t* out) {
    switch (kind) {
        case RecordKind::Coded11:
            codec2_.Encode(frame, out);
            return 11;
        case RecordKind::Coded18:
        case RecordKind::Coded24: {
            const std::size_t bytes = RecordLength(kind);
            const std::uint8_t kindByte = kind == RecordKind::Coded18 ? kKindByte18 : kKindByte24;
            if (opus_.Encode(frame, bytes, kindByte, out))
                return static_cast<int>(bytes);
            // A packet outside the record layout never reaches a file: the
            // frame is described as noise instead, which every decoder reads.
            break;
        }
        case RecordKind::ComfortNoise:
            break;
        case RecordKind::SilenceRun:
            out[0] = kKindByteRun;
            out[1] = 0;
            return 2;
    }
    ComfortNoise::Analyse(frame, out);
    return static_cast<int>(ComfortNoise::kRecordBytes);
}

}  // namespace speechcodec
