#include "OpusRecordEncoder.h"

#include <opus.h>

#include <cstring>
#include <new>

#include "speechcodec/VrcFormat.h"

namespace speechcodec {
namespace {

constexpr std::uint8_t kSilkNarrowband20ms = 0x08;

}  // namespace

OpusRecordEncoder::OpusRecordEncoder() {
    int error = OPUS_OK;
    encoder_ = opus_encoder_create(8000, 1, OPUS_APPLICATION_VOIP, &error);
    if (!encoder_ || error != OPUS_OK)
        throw std::bad_alloc();
    Reset();
}

OpusRecordEncoder::~OpusRecordEncoder() {
    opus_encoder_destroy(encoder_);
}

void OpusRecordEncoder::Reset() {
    opus_encoder_ctl(encoder_, OPUS_RESET_STATE);
    opus_encoder_ctl(encoder_, OPUS_SET_BANDWIDTH(OPUS_BANDWIDTH_NARROWBAND));
    opus_encoder_ctl(encoder_, OPUS_SET_MAX_BANDWIDTH(OPUS_BANDWIDTH_NARROWBAND));
    opus_encoder_ctl(encoder_, OPUS_SET_SIGNAL(OPUS_SIGNAL_VOICE));
    opus_encoder_ctl(encoder_, OPUS_SET_VBR(0));
    opus_encoder_ctl(encoder_, OPUS_SET_COMPLEXITY(5));
    opus_encoder_ctl(encoder_, OPUS_SET_INBAND_FEC(0));
    opus_encoder_ctl(encoder_, OPUS_SET_PACKET_LOSS_PERC(0));
    opus_encoder_ctl(encoder_, OPUS_SET_DTX(0));
    opus_encoder_ctl(encoder_, OPUS_SET_LSB_DEPTH(16));
    bitrate_ = 0;
}

bool OpusRecordEncoder::Encode(const std::int16_t* pcm, std::size_t recordBytes,
                               std::uint8_t kindByte, std::uint8_t* out) {
    const int bitrate = static_cast<int>(recordBytes * 8 * kFramesPerSecond);
    if (bitrate != bitrate_) {
        opus_encoder_ctl(encoder_, OPUS_SET_BITRATE(bitrate));
        bitrate_ = bitrate;
    }
    unsigned char packet[kFrameBufferBytes];
    int length = opus_encode(encoder_, pcm, static_cast<int>(kFrameSamples), packet,
                             static_cast<opus_int32>(recordBytes));
    if (length <= 0)
        return false;
    length = opus_packet_unpad(packet, length);
    if (length <= 0 || static_cast<std::size_t>(length) > recordBytes ||
        packet[0] != kSilkNarrowband20ms)
        return false;
    out[0] = kindByte;
    std::memcpy(out + 1, packet + 1, static_cast<std::size_t>(length) - 1);
    std::memset(out + length, 0, recordBytes - static_cast<std::size_t>(length));
    return true;
}

}  // namespace speechcodec
