#pragma once
// One encoder state of libtrc.so: the codecs, the silence detector and the
// input volume. Frames classified as silence or noise are not fed to the
// speech codecs, exactly as the decoder skips them, so both sides' codec
// states stay in step.

#include <cstdint>

#include "Codec2RecordEncoder.h"
#include "OpusRecordEncoder.h"
#include "SilenceDetector.h"
#include "speechcodec/VrcFormat.h"

namespace speechcodec {

class TrcEncoder {
public:
    void Reset();
    void SetVolume(int volume);
    // 160 samples at the given rate (see TrcApi.h); writes one record to
    // out (24 bytes) and returns its length (2, 4, 11, 18 or 24).
    int Encode(const std::int16_t* pcm, int rate, std::uint8_t* out);
    // The frame as the given kind, without silence detection (used to
    // measure each kind on its own). The volume still applies.
    int EncodeAs(RecordKind kind, const std::int16_t* pcm, std::uint8_t* out);

private:
    int EncodeScaled(RecordKind kind, const std::int16_t* pcm, std::uint8_t* out);

    OpusRecordEncoder opus_;
    Codec2RecordEncoder codec2_;
    SilenceDetector detector_;
    int volume_ = 1024;
};

}  // namespace speechcodec
