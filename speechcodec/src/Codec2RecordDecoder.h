#pragma once
// Decodes the 11-byte codec2 records (bytes 1..8) to 160 samples.

#include <cstdint>

struct CODEC2;

namespace speechcodec {

class Codec2RecordDecoder {
public:
    Codec2RecordDecoder();
    ~Codec2RecordDecoder();
    Codec2RecordDecoder(const Codec2RecordDecoder&) = delete;
    Codec2RecordDecoder& operator=(const Codec2RecordDecoder&) = delete;

    void Reset();
    void Decode(const std::uint8_t* record, std::int16_t* pcm);

private:
    CODEC2* codec_ = nullptr;
};

}  // namespace speechcodec
