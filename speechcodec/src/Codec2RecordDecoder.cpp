#include "Codec2RecordDecoder.h"

#include <codec2.h>

#include <mutex>
#include <new>

#include "Codec2Lock.h"

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

Codec2RecordDecoder::Codec2RecordDecoder() : codec_(Create()) {}

Codec2RecordDecoder::~Codec2RecordDecoder() {
    std::lock_guard lock(Codec2Lock());
    codec2_destroy(codec_);
}

void Codec2RecordDecoder::Reset() {
    CODEC2* fresh = Create();
    std::lock_guard lock(Codec2Lock());
    codec2_destroy(codec_);
    codec_ = fresh;
}

void Codec2RecordDecoder::Decode(const std::uint8_t* record, std::int16_t* pcm) {
    std::lock_guard lock(Codec2Lock());
    codec2_decode(codec_, pcm, record + 1);
}

}  // namespace speechcodec
