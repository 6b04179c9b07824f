#include "TrcDecoder.h"

#include <cstring>

#include "Pcm.h"
#include "speechcodec/VrcFormat.h"

namespace speechcodec {

void TrcDecoder::Reset() {
    opus_.Reset();
    codec2_.Reset();
    noise_.Reset();
    volume_ = 1024;
}

void TrcDecoder::SetVolume(int volume) {
    volume_ = ClampVolume(volume);
}

bool TrcDecoder::Decode(const std::uint8_t* frame, std::int16_t* pcm) {
    bool ok = true;
    const RecordKind kind = KindOf(frame[0]);
    if (kind != RecordKind::ComfortNoise)
        noise_.Break();
    switch (kind) {
        case RecordKind::Coded11:
            codec2_.Decode(frame, pcm);
            break;
        case RecordKind::Coded18:
        case RecordKind::Coded24:
            ok = opus_.Decode(frame, RecordLength(kind), pcm);
            break;
        case RecordKind::ComfortNoise:
            noise_.Synthesise(frame, pcm);
            break;
        case RecordKind::SilenceRun:
            std::memset(pcm, 0, kFrameBytes);
            break;
    }
    ScaleSamples(pcm, kFrameSamples, volume_);
    return ok;
}

}  // namespace speechcodec
