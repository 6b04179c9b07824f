#include "Codec2RecordEncoder.h"

#include <codec2.h>

#include <cstring>
#include <new>

#include "speechcodec/VrcFormat.h"

namespace speechcodec {
namespace {

CODEC2* Create() {
    CODEC2* codec = codec2_create(CODEC2_MODE_3200);
    if (!codec) throw std::bad_alloc();
    return codec;
}

}  // namespace

Codec2RecordEncoder::Codec2RecordEncoder() : codec_(Create()) {}

Codec2RecordEncoder::~Codec2RecordEncoder() { codec2_destroy(codec_); }

void Codec2RecordEncoder::Reset() {
    // codec2 has no reset call; a fresh state is cheap.
    CODEC2* fresh = Create();
    codec2_destroy(codec_);
    codec_ = fresh;
}

void Codec2RecordEncoder::Encode(const std::int16_t* pcm, std::uint8_t* out) {
    short speech[kFrameSamples];
    std::memcpy(speech, pcm, sizeof speech);
    out[0] = kKindByte11;
    codec2_encode(codec_, out + 1, speech);
    out[9] = 0;
    out[10] = 0;
}

}  // namespace speechcodec
