#pragma once
// Opus SILK narrowband at hard CBR, one 20 ms packet per record. The packet
// is unpadded, which always leaves the constant first byte 0x08 (SILK NB,
// 20 ms, mono, one frame); the record carries the kind byte in its place and
// the rest of the packet, zero-filled to the record's length.

#include <cstddef>
#include <cstdint>

struct OpusEncoder;

namespace speechcodec {

class OpusRecordEncoder {
public:
    OpusRecordEncoder();
    ~OpusRecordEncoder();
    OpusRecordEncoder(const OpusRecordEncoder&) = delete;
    OpusRecordEncoder& operator=(const OpusRecordEncoder&) = delete;

    void Reset();
    // recordBytes 18 or 24 (7200 or 9600 bit/s). False when the encoder did
    // not produce a packet that fits that layout (out is then unchanged).
    bool Encode(const std::int16_t* pcm, std::size_t recordBytes, std::uint8_t kindByte,
                std::uint8_t* out);

private:
    OpusEncoder* encoder_ = nullptr;
    int bitrate_ = 0;
};

}  // namespace speechcodec
