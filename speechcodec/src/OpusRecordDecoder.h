#pragma once
// Decodes the Opus records: restores the packet's first byte 0x08, drops
// the zero fill (trailing zero bytes, which the range decoder reads back as
// zeros anyway, so the result is bit-exact with decoding the packet itself)
// and decodes 160 samples.

#include <cstddef>
#include <cstdint>

struct OpusDecoder;

namespace speechcodec {

class OpusRecordDecoder {
public:
    OpusRecordDecoder();
    ~OpusRecordDecoder();
    OpusRecordDecoder(const OpusRecordDecoder&) = delete;
    OpusRecordDecoder& operator=(const OpusRecordDecoder&) = delete;

    void Reset();
    // record: recordBytes (18 or 24) bytes. False (and silence) when the
    // packet does not decode to one 20 ms frame.
    bool Decode(const std::uint8_t* record, std::size_t recordBytes, std::int16_t* pcm);

private:
    OpusDecoder* decoder_ = nullptr;
};

}  // namespace speechcodec
