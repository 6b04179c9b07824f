#pragma once
// codec2 at 3200 bit/s: 8 bytes per 20 ms. Record: kind byte, the 8 codec2
// bytes, 2 zero bytes.

#include <cstdint>

struct CODEC2;

namespace speechcodec {

class Codec2RecordEncoder {
public:
    Codec2RecordEncoder();
    ~Codec2RecordEncoder();
    Codec2RecordEncoder(const Codec2RecordEncoder&) = delete;
    Codec2RecordEncoder& operator=(const Codec2RecordEncoder&) = delete;

    void Reset();
    // Writes an 11-byte record.
    void Encode(const std::int16_t* pcm, std::uint8_t* out);

private:
    CODEC2* codec_ = nullptr;
};

}  // namespace speechcodec
