#pragma once
// codec2 at 3200 bit/s: 8 bytes per 20 ms. Record: kind byte, the 8 codec2
// bytes, 2 zero bytes.

#include <cstdint>

#include "Codec2State.h"

namespace speechcodec {

class Codec2RecordEncoder {
public:
    void Reset() { state_.Reset(); }
    // Writes an 11-byte record.
    void Encode(const std::int16_t* pcm, std::uint8_t* out);

private:
    Codec2State state_;
};

}  // namespace speechcodec
