#include "Codec2RecordDecoder.h"

#include <codec2.h>

namespace speechcodec {

void Codec2RecordDecoder::Decode(const std::uint8_t* record, std::int16_t* pcm) {
    state_.Run([&](CODEC2* codec) { codec2_decode(codec, pcm, record + 1); });
}

}  // namespace speechcodec
