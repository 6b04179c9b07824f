#pragma once
// Decodes the 11-byte codec2 records (bytes 1..8) to 160 samples.

#include <cstdint>

#include "Codec2State.h"

namespace speechcodec {

class Codec2RecordDecoder {
public:
    void Reset() { state_.Reset(); }
    void Decode(const std::uint8_t* record, std::int16_t* pcm);

private:
    Codec2State state_;
};

}  // namespace speechcodec
