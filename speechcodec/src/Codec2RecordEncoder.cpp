#include "Codec2RecordEncoder.h"

#include <codec2.h>

#include <cstring>

#include "speechcodec/VrcFormat.h"

namespace speechcodec {

void Codec2RecordEncoder::Encode(const std::int16_t* pcm, std::uint8_t* out) {
    short speech[kFrameSamples];
    std::memcpy(speech, pcm, sizeof speech);
    out[0] = kKindByte11;
    state_.Run([&](CODEC2* codec) { codec2_encode(codec, out + 1, speech); });
    out[9] = 0;
    out[10] = 0;
}

}  // namespace speechcodec
