#include "OpusRecordDecoder.h"

#include <opus.h>

#include <cstring>
#include <new>

#include "speechcodec/VrcFormat.h"

namespace speechcodec {

OpusRecordDecoder::OpusRecordDecoder() {
    int error = OPUS_OK;
    decoder_ = opus_decoder_create(8000, 1, &error);
    if (!decoder_ || error != OPUS_OK)
        throw std::bad_alloc();
}

OpusRecordDecoder::~OpusRecordDecoder() {
    opus_decoder_destroy(decoder_);
}

void OpusRecordDecoder::Reset() {
    opus_decoder_ctl(decoder_, OPUS_RESET_STATE);
}

bool OpusRecordDecoder::Decode(const std::uint8_t* record, std::size_t recordBytes,
                               std::int16_t* pcm) {
    unsigned char packet[kFrameBufferBytes];
    if (recordBytes > sizeof packet)
        recordBytes = sizeof packet;
    packet[0] = 0x08;
    std::memcpy(packet + 1, record + 1, recordBytes - 1);
    std::size_t length = recordBytes;
    while (length > 1 && packet[length - 1] == 0) --length;
    const int samples = opus_decode(decoder_, packet, static_cast<opus_int32>(length), pcm,
                                    static_cast<int>(kFrameSamples), 0);
    if (samples == static_cast<int>(kFrameSamples))
        return true;
    std::memset(pcm, 0, kFrameBytes);
    return false;
}

}  // namespace speechcodec
