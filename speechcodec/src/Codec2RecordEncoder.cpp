#include "Codec2RecordEncoder.h"

#include <codec2.h>

#include <cstring>
#include <mutex>
#include <new>

#include "Codec2Lock.h"
#include "speechcodec/VrcFormat.h"

namespace speechcodec {
namespace {

CODEC2* Create() {
    std::lock_guard lock(Codec2Lock());
    CODEC2* codec = codec2_create(CODEC2_MODE_3200);
    if (!codec)
        throw std::bad_alloc();
    return codec;
}

}  // namespace

Codec2RecordEncoder::Codec2RecordEncoder() : codec_(Create()) {}

Codec2RecordEncoder::~Codec2RecordEncoder() {
    std::lock_guard lock(Codec2Lock());
    codec2_destroy(codec_);
}

void Codec2RecordEncoder::Reset() {
    // codec2 has no reset call; a fresh state is cheap.
    CODEC2* fresh = Create();
    std::lock_guard lock(Codec2Lock());
    codec2_destroy(codec_);
    codec_ = fresh;
}

void Codec2RecordEncoder::Encode(const std::int16_t* pcm, std::uint8_t* out) {
    short speech[kFrameSamples];
    std::memcpy(speech, pcm, sizeof speech);
    out[0] = kKindByte11;
    std::lock_guard lock(Codec2Lock());
    codec2_encode(codec_, out + 1, speech);
    out[9] = 0;
    out[10] = 0;
}

}  // namespace speechcodec
