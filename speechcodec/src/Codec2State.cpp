#include "Codec2State.h"

#include <codec2.h>

#include <new>

namespace speechcodec {

std::mutex& Codec2State::Lock() {
    static std::mutex lock;
    return lock;
}

CODEC2* Codec2State::Create() {
    std::lock_guard lock(Lock());
    CODEC2* codec = codec2_create(CODEC2_MODE_3200);
    if (!codec) throw std::bad_alloc();
    return codec;
}

Codec2State::Codec2State() : codec_(Create()) {}

Codec2State::~Codec2State() {
    std::lock_guard lock(Lock());
    codec2_destroy(codec_);
}

void Codec2State::Reset() {
    CODEC2* fresh = Create();
    std::lock_guard lock(Lock());
    codec2_destroy(codec_);
    codec_ = fresh;
}

}  // namespace speechcodec
