#pragma once
// One decoder state of libtrc.so: a decoder per codec, the comfort-noise
// generator and the output volume. Every record kind decodes to 160 samples.

#include <cstdint>

#include "Codec2RecordDecoder.h"
#include "ComfortNoise.h"
#include "OpusRecordDecoder.h"

namespace speechcodec {

class TrcDecoder {
public:
    void Reset();
    void SetVolume(int volume);
    // frame holds a record at its start (the rest of the 24 bytes is not
    // read). False when a coded frame did not decode (pcm is then silence).
    bool Decode(const std::uint8_t* frame, std::int16_t* pcm);

private:
    OpusRecordDecoder opus_;
    Codec2RecordDecoder codec2_;
    ComfortNoise noise_;
    int volume_ = 1024;
};

}  // namespace speechcodec
